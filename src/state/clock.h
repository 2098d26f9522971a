// Where the program reads the time: picture names and the random seed. An interface so
// tests and the headless renderer fix the moment. Implementations must be callable from
// the worker thread; reading the clock never fails.
#pragma once

#include <QDateTime>

namespace mandalix {

// Seeds are seconds since midnight: 0 up to (not including) this.
inline constexpr double kSecondsPerDay = 86400;

// Seconds since midnight of a moment, in single precision with the fraction kept: the
// seed of the random generator.
inline float secondsSinceMidnight(const QDateTime& moment)
{
    return static_cast<float>(moment.time().msecsSinceStartOfDay() / 1000.0);
}

class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time, to the millisecond.
    virtual QDateTime now() const = 0;
    // The seed of the random generator for a picture begun now: the seconds since
    // midnight of now(), unless the clock was given a seed of its own.
    virtual float secondsSinceMidnight() const { return mandalix::secondsSinceMidnight(now()); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock stopped at one moment.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime moment) : m_moment(std::move(moment)) { }
    QDateTime now() const override { return m_moment; }
    void set(QDateTime moment) { m_moment = std::move(moment); }

private:
    QDateTime m_moment;
};

// A clock stopped at one moment that gives one exact seed, for painting a chosen or a
// recorded picture again: the seed need not be a whole number of milliseconds.
class SeededClock final : public Clock {
public:
    SeededClock(QDateTime moment, float seed) : m_moment(std::move(moment)), m_seed(seed) { }
    QDateTime now() const override { return m_moment; }
    float secondsSinceMidnight() const override { return m_seed; }

private:
    QDateTime m_moment;
    float m_seed;
};

} // namespace mandalix
