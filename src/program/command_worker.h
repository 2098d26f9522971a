// The worker thread that runs the user's commands one at a time, first in first out.
// The window posts commands from the GUI thread; the worker runs each on the program
// while holding the surfaces' lock, letting go at every pacing point so the window can
// copy a snapshot. Results cross back through the result callback, called on the worker
// thread with a small value. stop() ends the thread at once, dropping what is queued.
#pragma once

#include "base/serial_queue.h"
#include "generator/pass_pacer.h"
#include "program/command.h"
#include "program/program.h"

#include <chrono>
#include <functional>
#include <mutex>

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

    // True from a post until the queue is empty and no command runs. Any thread.
    bool isBusy() const { return !m_queue.isIdle(); }

private:
    // On the worker thread: runs `command` holding the surfaces' lock, then tells the result.
    void runOne(const Command& command);

    Surfaces& m_surfaces;
    Run m_run;
    ResultCallback m_onResult;
    // The worker thread's: held while a command paints, let go at each pacing point.
    std::unique_lock<std::mutex> m_surfacesLock;
    PassPacer m_pacer;
    SerialQueue m_queue; // last: its thread ends before what it uses goes
};

// The worker's way of running commands on `program`, a Program or a Session.
template <typename P> CommandWorker::Run commandsOf(P& program)
{
    return [&program](const Command& command, Pacer& pacer) { return runCommand(program, command, pacer); };
}

} // namespace mandalix
