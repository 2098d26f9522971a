#include "base/work_pool.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include <pthread.h>

namespace mandalix {

namespace {

constexpr std::chrono::milliseconds kCallerTick{100};

// Set on the pool's own threads: a job they run that asks the pool for help runs alone,
// since a helper waiting for helpers could wait for itself.
thread_local bool t_isPoolThread = false;

} // namespace

struct WorkPool::Job {
    long long count = 0;
    const Body* body = nullptr;
    int threadsLeft = 0;            // helpers that may still join; guarded by the pool's mutex
    int nextWorker = 1;             // guarded by the pool's mutex; 0 is the caller
    std::atomic<long long> next{0}; // the next index to hand out
    int running = 0;                // helpers inside the job; guarded by the pool's mutex
    std::condition_variable helpersLeft;
};

WorkPool::WorkPool(int helpers)
{
    for (int k = 0; k < helpers; ++k)
        m_threads.emplace_back([this, k] {
            pthread_setname_np(pthread_self(), ("mandalix-pool" + std::to_string(k)).c_str());
            t_isPoolThread = true;
            help();
        });
}

WorkPool::~WorkPool()
{
    {
        std::lock_guard lock(m_mutex);
        m_isEnding = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

bool WorkPool::runOne(Job& job, int worker)
{
    const long long index = job.next.fetch_add(1, std::memory_order_relaxed);
    if (index >= job.count)
        return false;
    (*job.body)(index, worker);
    return true;
}

void WorkPool::help()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_isEnding || !m_jobs.empty(); });
        if (m_isEnding)
            return;
        Job& job = *m_jobs.front();
        const int worker = job.nextWorker++;
        if (--job.threadsLeft == 0)
            m_jobs.pop_front();
        ++job.running;
        lock.unlock();
        while (runOne(job, worker)) {
        }
        lock.lock();
        if (--job.running == 0)
            job.helpersLeft.notify_all();
    }
}

void WorkPool::parallelFor(long long count, int threads, const Body& body,
                           const std::function<void()>& betweenOnCaller)
{
    if (count <= 0)
        return;
    Job job;
    job.count = count;
    job.body = &body;
    const long long wanted = std::min<long long>(std::max(threads, 1), count) - 1;
    job.threadsLeft = t_isPoolThread ? 0 : static_cast<int>(std::min<long long>(wanted, helpers()));
    // Read before the job is shared: from then on helpers count threadsLeft down.
    const int helpersWanted = job.threadsLeft;
    if (helpersWanted > 0) {
        {
            std::lock_guard lock(m_mutex);
            m_jobs.push_back(&job);
        }
        if (helpersWanted == 1)
            m_wake.notify_one();
        else
            m_wake.notify_all();
    }
    while (runOne(job, 0)) {
        if (betweenOnCaller)
            betweenOnCaller();
    }
    std::unique_lock lock(m_mutex);
    // Helpers that have not joined yet need not: every index is handed out.
    if (job.threadsLeft > 0)
        m_jobs.erase(std::find(m_jobs.begin(), m_jobs.end(), &job));
    while (!job.helpersLeft.wait_for(lock, kCallerTick, [&] { return job.running == 0; })) {
        if (betweenOnCaller) {
            lock.unlock();
            betweenOnCaller();
            lock.lock();
        }
    }
}

int processorCount() { return static_cast<int>(std::max(1U, std::thread::hardware_concurrency())); }

WorkPool& sharedPool()
{
    static WorkPool pool(processorCount() - 1);
    return pool;
}

} // namespace mandalix
