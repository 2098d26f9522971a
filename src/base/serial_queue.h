// A long-lived worker: one owner thread that runs the jobs posted to it one after another,
// in the order they were posted. The commands, the history's writes, the slide show and
// Save as each own one. Any thread may post and wait; the owner of the queue stops it
// (also by destroying it), which lets the running job finish, drops the jobs not begun and
// joins the thread. A job that must stop early watches a flag of its own. Nothing fails.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace mandalix {

class SerialQueue {
public:
    using Job = std::function<void()>;

    // Starts the thread, named `name` (at most 15 characters) for debuggers and `top -H`.
    explicit SerialQueue(const std::string& name);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    // Adds `job` behind the others. Ignored once the queue stopped. Any thread.
    void post(Job job);
    // Waits until every job posted before has run. Not from the queue's own thread.
    void waitIdle();
    // The same, giving up after `timeout`; true when the queue got idle (or stopped).
    bool waitIdleFor(std::chrono::milliseconds timeout);
    // True when no job runs and none waits. Any thread.
    bool isIdle() const;
    // True on the queue's own thread, inside a job.
    bool isOwnThread() const { return std::this_thread::get_id() == m_thread.get_id(); }
    // Lets the running job finish, drops the others and joins. Idempotent; not from the
    // queue's own thread.
    void stop();

private:
    void run();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    bool m_isRunningJob = false;
    bool m_isStopping = false;
    std::thread m_thread;
};

} // namespace mandalix
