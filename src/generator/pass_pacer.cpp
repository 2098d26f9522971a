#include "generator/pass_pacer.h"

#include <utility>

namespace mandalix {

PassPacer::PassPacer(std::chrono::milliseconds passDuration, Hooks hooks, Now now)
    : m_passDuration(passDuration)
    , m_hooks(std::move(hooks))
    , m_now(now ? std::move(now) : Now([] { return Clock::now(); }))
{
}

void PassPacer::beginPass(long long positions)
{
    std::lock_guard lock(m_mutex);
    m_positions = positions > 0 ? positions : 1;
    m_passStart = m_now();
    m_pausedAtStart = pausedSoFar(m_passStart);
}

bool PassPacer::checkpoint(long long done)
{
    if (m_hooks.beforeWait)
        m_hooks.beforeWait();
    const bool isGoingOn = waitUntilDue(done);
    if (m_hooks.afterWait)
        m_hooks.afterWait();
    return isGoingOn;
}

bool PassPacer::waitUntilDue(long long done)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_isStopped)
            return false;
        if (m_isPaused) {
            m_changed.wait(lock);
            continue;
        }
        if (m_passDuration.count() == 0)
            return true;
        const Clock::time_point now = m_now();
        const Clock::time_point due = dueAt(done, now);
        if (now >= due)
            return true;
        // Woken early by a pause, a resume or a stop; the schedule is looked at again.
        m_changed.wait_for(lock, due - now);
    }
}

PassPacer::Clock::time_point PassPacer::dueAt(long long done) const
{
    std::lock_guard lock(m_mutex);
    return dueAt(done, m_now());
}

PassPacer::Clock::time_point PassPacer::dueAt(long long done, Clock::time_point now) const
{
    const auto along = std::chrono::duration_cast<Clock::duration>(m_passDuration * done / m_positions);
    return m_passStart + along + (pausedSoFar(now) - m_pausedAtStart);
}

PassPacer::Clock::duration PassPacer::pausedSoFar(Clock::time_point now) const
{
    return m_pausedBefore + (m_isPaused ? now - m_pausedSince : Clock::duration{});
}

void PassPacer::pause()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_isPaused)
            return;
        m_isPaused = true;
        m_pausedSince = m_now();
    }
    m_changed.notify_all();
}

void PassPacer::resume()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_isPaused)
            return;
        m_isPaused = false;
        m_pausedBefore += m_now() - m_pausedSince;
    }
    m_changed.notify_all();
}

bool PassPacer::isPaused() const
{
    std::lock_guard lock(m_mutex);
    return m_isPaused;
}

void PassPacer::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_isStopped = true;
        m_stopFlag.store(true, std::memory_order_release);
    }
    m_changed.notify_all();
}

void PassPacer::clearStop()
{
    std::lock_guard lock(m_mutex);
    m_isStopped = false;
    m_stopFlag.store(false, std::memory_order_release);
}

bool PassPacer::isStopped() const
{
    std::lock_guard lock(m_mutex);
    return m_isStopped;
}

} // namespace mandalix
