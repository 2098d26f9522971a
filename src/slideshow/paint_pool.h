// Threads that share the work of one block of pixels: the caller hands out a job, every
// thread (the caller among them) runs its own part, and the call returns when all parts
// are done. Owned by one thread, which alone calls run(); the helpers end with the pool.
// Nothing fails.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace mandalix {

class PaintPool {
public:
    // `threads` parts per job, at least 1: threads - 1 helpers plus the caller.
    explicit PaintPool(int threads);
    ~PaintPool();
    PaintPool(const PaintPool&) = delete;
    PaintPool& operator=(const PaintPool&) = delete;

    int threads() const { return static_cast<int>(m_helpers.size()) + 1; }

    // Runs part(0) on the calling thread and part(1..threads() - 1) on the helpers, each
    // once, and returns when every part has returned.
    void run(const std::function<void(int part)>& part);

private:
    void help(int part);

    std::mutex m_mutex;
    std::condition_variable m_start;
    std::condition_variable m_done;
    const std::function<void(int)>* m_job = nullptr;
    std::uint64_t m_generation = 0;
    int m_pending = 0;
    bool m_isEnding = false;
    std::vector<std::thread> m_helpers;
};

} // namespace mandalix
