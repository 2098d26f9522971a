// The program's one pool of painting threads, shared by every painter and encoder: a job
// is a count of indices and a body; the calling thread and the pool's threads take
// indices one at a time until none is left, and the call returns when every index is
// done. Several threads may each run a job at once; the pool's threads help the oldest
// job first. A body that itself asks the pool for help runs its inner job on its own
// thread. Any thread may call; nothing fails.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace mandalix {

class WorkPool {
public:
    // What a job does for one index; `worker` (0..threads - 1 of the call) numbers the
    // threads of one job, so that each can keep scratch space of its own.
    using Body = std::function<void(long long index, int worker)>;

    // A pool of `helpers` threads besides the callers (0: every job runs on its caller).
    explicit WorkPool(int helpers);
    // Requires that no job runs.
    ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    int helpers() const { return static_cast<int>(m_threads.size()); }

    // Runs body(index, worker) for every index in 0..count - 1 on at most `threads`
    // threads (the caller and up to threads - 1 of the pool's), and returns when all are
    // done. `betweenOnCaller`, when given, is called on the calling thread after each
    // index it ran and every `kCallerTick` while it waits for the others: for progress
    // and for a look at a cancel flag (the body itself must then return early).
    void parallelFor(long long count, int threads, const Body& body,
                     const std::function<void()>& betweenOnCaller = {});

    // The threads a job of this pool can use at most: the caller and every helper.
    int maxThreads() const { return helpers() + 1; }

private:
    struct Job;
    void help();
    static bool runOne(Job& job, int worker);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job*> m_jobs; // jobs with indices left and room for a helper, oldest first
    bool m_isEnding = false;
    std::vector<std::thread> m_threads;
};

// The pool every painter shares: one thread less than the processors, since the caller
// paints too. Started on first use, ended when the program ends.
WorkPool& sharedPool();

// The processors this machine offers, at least 1.
int processorCount();

} // namespace mandalix
