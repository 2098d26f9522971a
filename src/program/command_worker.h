// The worker thread that runs the user's commands one at a time, first in first out.
// The window posts commands from the GUI thread; the worker runs each on the program
// while holding the surfaces' lock, letting go at every pacing point so the window can
// copy a snapshot. Results cross back through the result callback, called on the worker
// thread with a small value. stop() ends the thread at once, dropping what is queued.
#pragma once

#include "program/command.h"
#include "program/program.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace mandalix {

// How long one pass over the picture takes on screen.
inline constexpr std::chrono::milliseconds kPassDuration{2000};

class CommandWorker {
public:
    using ResultCallback = std::function<void(const Command&, const CommandResult&)>;
    // Runs one command on what owns `surfaces`: runCommand of a program or a session.
    using Run = std::function<CommandResult(const Command&, Pacer&)>;

    // Starts the thread. `passDuration` paces the painting passes; zero paints at full
    // speed. `onResult` is called on the worker thread after each command.
    CommandWorker(Surfaces& surfaces, Run run, ResultCallback onResult,
                  std::chrono::milliseconds passDuration = kPassDuration);
    ~CommandWorker();
    CommandWorker(const CommandWorker&) = delete;
    CommandWorker& operator=(const CommandWorker&) = delete;

    // Queues a command behind those already waiting. Any thread.
    void post(const Command& command);

    // Stops the running command at its next pacing point, drops the queue and joins.
    // Any thread but the worker's own; calling it twice is harmless.
    void stop();

    // Waits until the queue is empty and no command runs, or the deadline passes.
    // Returns true when idle.
    bool waitUntilIdle(std::chrono::milliseconds timeout);

    bool isBusy() const { return m_busy.load(std::memory_order_acquire); }

private:
    class PacedPacer;

    void run();

    Surfaces& m_surfaces;
    Run m_run;
    ResultCallback m_onResult;
    const std::chrono::milliseconds m_passDuration;

    std::mutex m_queueMutex; // guards m_queue; also the wait of the pacing points
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Command> m_queue;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_busy{false};
    std::thread m_thread;
};

// The worker's way of running commands on `program`, a Program or a Session.
template <typename P> CommandWorker::Run commandsOf(P& program)
{
    return [&program](const Command& command, Pacer& pacer) { return runCommand(program, command, pacer); };
}

} // namespace mandalix
