#include "program/command_worker.h"

#include "program/allocator_policy.h"

namespace mandalix {

// Spreads each pass over the pass duration: at every checkpoint it publishes the
// painted pixels, lets go of the surfaces and waits until the pass is due there.
class CommandWorker::PacedPacer final : public Pacer {
public:
    PacedPacer(CommandWorker& worker, std::unique_lock<std::mutex>& surfacesLock)
        : m_worker(worker)
        , m_surfacesLock(surfacesLock)
    {
    }

    void beginPass(long long positions) override
    {
        m_passStart = std::chrono::steady_clock::now();
        m_positions = positions > 0 ? positions : 1;
    }

    bool checkpoint(long long done) override
    {
        m_worker.m_surfaces.publish();
        m_surfacesLock.unlock();
        const auto due = m_passStart
            + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                m_worker.m_passDuration * done / m_positions);
        {
            std::unique_lock queueLock(m_worker.m_queueMutex);
            m_worker.m_wake.wait_until(queueLock, due, [this] {
                return m_worker.m_stopping.load(std::memory_order_acquire);
            });
        }
        m_surfacesLock.lock();
        return !m_worker.m_stopping.load(std::memory_order_acquire);
    }

private:
    CommandWorker& m_worker;
    std::unique_lock<std::mutex>& m_surfacesLock;
    std::chrono::steady_clock::time_point m_passStart{};
    long long m_positions = 1;
};

CommandWorker::CommandWorker(Surfaces& surfaces, Run run, ResultCallback onResult,
                             std::chrono::milliseconds passDuration)
    : m_surfaces(surfaces)
    , m_run(std::move(run))
    , m_onResult(std::move(onResult))
    , m_passDuration(passDuration)
    , m_thread([this] { this->run(); })
{
}

CommandWorker::~CommandWorker() { stop(); }

void CommandWorker::post(const Command& command)
{
    {
        std::lock_guard lock(m_queueMutex);
        if (m_stopping.load(std::memory_order_acquire))
            return;
        m_queue.push_back(command);
        m_busy.store(true, std::memory_order_release);
    }
    m_wake.notify_all();
}

void CommandWorker::stop()
{
    {
        std::lock_guard lock(m_queueMutex);
        m_stopping.store(true, std::memory_order_release);
        m_queue.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool CommandWorker::waitUntilIdle(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_queueMutex);
    return m_idle.wait_for(lock, timeout, [this] {
        return !m_busy.load(std::memory_order_acquire)
            || m_stopping.load(std::memory_order_acquire);
    });
}

void CommandWorker::run()
{
    for (;;) {
        Command command;
        {
            std::unique_lock lock(m_queueMutex);
            m_wake.wait(lock, [this] {
                return !m_queue.empty() || m_stopping.load(std::memory_order_acquire);
            });
            if (m_stopping.load(std::memory_order_acquire))
                break;
            command = m_queue.front();
            m_queue.pop_front();
        }

        CommandResult result;
        {
            std::unique_lock surfacesLock(m_surfaces.lock);
            PacedPacer pacer(*this, surfacesLock);
            result = m_run(command, pacer);
            m_surfaces.publish();
            result.picture1Changes = m_surfaces.picture1Changes.load(std::memory_order_acquire);
        }
        if (m_stopping.load(std::memory_order_acquire))
            break;
        if (m_onResult)
            m_onResult(command, result);
        // A picture frees the rasters and buffers of the one before; their pages go back.
        if (paintsAPicture(command))
            returnFreedMemory();

        {
            std::lock_guard lock(m_queueMutex);
            if (m_queue.empty())
                m_busy.store(false, std::memory_order_release);
        }
        m_idle.notify_all();
    }
    {
        std::lock_guard lock(m_queueMutex);
        m_busy.store(false, std::memory_order_release);
    }
    m_idle.notify_all();
}

} // namespace mandalix
