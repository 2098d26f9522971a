// Where the program reads the time: the moment each picture begins. An interface so
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
    // The current local date and time, to the millisecond. A picture reads it once: its
    // seed and its name both come from that one moment.
    virtual QDateTime now() const = 0;
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

} // namespace mandalix
