#include "program/command_worker.h"

#include "program/allocator_policy.h"

namespace mandalix {

CommandWorker::CommandWorker(Surfaces& surfaces, Run run, ResultCallback onResult,
                             std::chrono::milliseconds passDuration)
    : m_surfaces(surfaces)
    , m_run(std::move(run))
    , m_onResult(std::move(onResult))
    , m_surfacesLock(surfaces.lock, std::defer_lock)
    // At every pacing point the painted pixels are published and the window may take
    // the lock for a snapshot while the worker waits for the pass's pace.
    , m_pacer(passDuration,
              PassPacer::Hooks{[this] {
                                   m_surfaces.publish();
                                   m_surfacesLock.unlock();
                               },
                               [this] { m_surfacesLock.lock(); }})
    , m_queue("mandalix-cmd")
{
}

CommandWorker::~CommandWorker() { stop(); }

void CommandWorker::post(const Command& command)
{
    m_queue.post([this, command] { runOne(command); });
}

void CommandWorker::stop()
{
    m_pacer.stop();
    m_queue.stop();
}

bool CommandWorker::waitUntilIdle(std::chrono::milliseconds timeout) { return m_queue.waitIdleFor(timeout); }

void CommandWorker::runOne(const Command& command)
{
    if (m_pacer.isStopped())
        return;
    CommandResult result;
    m_surfacesLock.lock();
    result = m_run(command, m_pacer);
    m_surfaces.publish();
    result.picture1Changes = m_surfaces.picture1Changes.load(std::memory_order_acquire);
    m_surfacesLock.unlock();
    // A command stopped midway tells nothing.
    if (m_pacer.isStopped())
        return;
    if (m_onResult)
        m_onResult(command, result);
    // A picture frees the rasters and buffers of the one before; their pages go back.
    if (paintsAPicture(command))
        returnFreedMemory();
}

} // namespace mandalix
