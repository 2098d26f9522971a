// The pacer of every painting on screen: it spreads each pass of a picture over the pass
// duration, so a picture appears at the same speed on any machine. The painting thread
// calls beginPass and checkpoint; any thread may pause, resume and stop it. While paused
// a checkpoint holds, and the rest of the pass is put off by the time paused. Nothing fails.
#pragma once

#include "generator/pacer.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace mandalix {

class PassPacer final : public Pacer {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;
    // Run on the painting thread at every checkpoint, around the wait: the command worker
    // publishes the surfaces and lets go of their lock before, and takes it again after.
    struct Hooks {
        std::function<void()> beforeWait;
        std::function<void()> afterWait;
    };

    // `passDuration` zero paints at full speed: a checkpoint then only holds while paused.
    // `now` is the clock, steady_clock when empty.
    explicit PassPacer(std::chrono::milliseconds passDuration, Hooks hooks = {}, Now now = {});
    PassPacer(const PassPacer&) = delete;
    PassPacer& operator=(const PassPacer&) = delete;

    // Painting thread.
    void beginPass(long long positions) override;
    // Calls the hooks around a wait until the pass is due at `done` of its positions, or
    // until stopped. False once stopped.
    bool checkpoint(long long done) override;

    // When checkpoint(done) of the current pass is due, the time paused so far included.
    // Any thread.
    Clock::time_point dueAt(long long done) const;

    // Any thread. Pausing twice or resuming an unpaused pacer changes nothing.
    void pause();
    void resume();
    bool isPaused() const;
    // Wakes a waiting checkpoint at once; every checkpoint answers false until clearStop.
    // Any thread.
    void stop();
    void clearStop();
    bool isStopped() const;
    const std::atomic<bool>* stopFlag() const override { return &m_stopFlag; }

private:
    // Under m_mutex.
    Clock::duration pausedSoFar(Clock::time_point now) const;
    Clock::time_point dueAt(long long done, Clock::time_point now) const;
    bool waitUntilDue(long long done);

    const std::chrono::milliseconds m_passDuration;
    const Hooks m_hooks;
    const Now m_now;

    mutable std::mutex m_mutex; // guards what follows, with m_changed
    std::condition_variable m_changed;
    Clock::time_point m_passStart{};
    Clock::duration m_pausedAtStart{}; // paused so far when the pass began
    long long m_positions = 1;
    bool m_isPaused = false;
    Clock::time_point m_pausedSince{};
    Clock::duration m_pausedBefore{}; // paused so far, the pause going on left out
    bool m_isStopped = false;
    std::atomic<bool> m_stopFlag{false}; // m_isStopped, for readers outside the lock
};

} // namespace mandalix
