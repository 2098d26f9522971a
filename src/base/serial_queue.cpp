#include "base/serial_queue.h"

#include <pthread.h>

namespace mandalix {

SerialQueue::SerialQueue(const std::string& name)
{
    m_thread = std::thread([this, name] {
        pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
        run();
    });
}

SerialQueue::~SerialQueue() { stop(); }

void SerialQueue::post(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_isStopping)
            return;
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_all();
}

void SerialQueue::waitIdle()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_isStopping || (m_jobs.empty() && !m_isRunningJob); });
}

bool SerialQueue::waitIdleFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout,
                              [this] { return m_isStopping || (m_jobs.empty() && !m_isRunningJob); });
}

bool SerialQueue::isIdle() const
{
    std::lock_guard lock(m_mutex);
    return m_jobs.empty() && !m_isRunningJob;
}

void SerialQueue::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_isStopping = true;
        m_jobs.clear();
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void SerialQueue::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_isStopping || !m_jobs.empty(); });
        if (m_isStopping)
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_isRunningJob = true;
        lock.unlock();
        job();
        // The job's captures go before the queue says it is idle.
        job = nullptr;
        lock.lock();
        m_isRunningJob = false;
        m_changed.notify_all();
    }
}

} // namespace mandalix
