#include "base/serial_queue.h"
#include "base/work_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace mandalix {
namespace {

// Several callers at once, each job with more threads than the pool, one of them nesting a
// job inside its body: every index of every job runs exactly once, on a worker number
// below the threads asked for.
TEST(ThreadKit_WorkPool, EveryIndexOnceAcrossConcurrentAndNestedJobs)
{
    WorkPool pool(3);
    constexpr long long kCount = 2000;
    constexpr int kCallers = 4;
    std::vector<std::vector<std::atomic<int>>> seen(kCallers);
    for (auto& row : seen)
        row = std::vector<std::atomic<int>>(kCount);
    std::atomic<int> badWorker{0};
    std::atomic<long long> nested{0};
    std::vector<std::thread> callers;
    for (int c = 0; c < kCallers; ++c)
        callers.emplace_back([&, c] {
            pool.parallelFor(kCount, 2 + c, [&](long long index, int worker) {
                if (worker < 0 || worker >= 2 + c)
                    ++badWorker;
                seen[static_cast<std::size_t>(c)][static_cast<std::size_t>(index)]++;
                if (c == 0 && index % 100 == 0)
                    pool.parallelFor(10, 4, [&](long long, int) { ++nested; });
            });
        });
    for (std::thread& caller : callers)
        caller.join();
    for (int c = 0; c < kCallers; ++c)
        for (long long k = 0; k < kCount; ++k)
            ASSERT_EQ(seen[static_cast<std::size_t>(c)][static_cast<std::size_t>(k)].load(), 1) << c << " " << k;
    EXPECT_EQ(badWorker.load(), 0);
    EXPECT_EQ(nested.load(), 200);
}

// The caller's callback runs on the caller and sees the job's progress; one thread asked
// for runs everything on the caller.
TEST(ThreadKit_WorkPool, OneThreadRunsOnTheCallerWithItsCallback)
{
    WorkPool pool(2);
    const auto caller = std::this_thread::get_id();
    int onOther = 0;
    int calls = 0;
    pool.parallelFor(50, 1, [&](long long, int) { onOther += std::this_thread::get_id() != caller; },
                     [&] { ++calls; });
    EXPECT_EQ(onOther, 0);
    EXPECT_EQ(calls, 50);
}

// Jobs run one at a time in the order posted; waitIdle sees them all done; stop lets the
// running job end and drops the rest.
TEST(ThreadKit_SerialQueue, RunsInOrderAndStopDropsWhatHasNotBegun)
{
    std::vector<int> order;
    {
        SerialQueue queue("test-queue");
        for (int k = 0; k < 100; ++k)
            queue.post([&order, k] { order.push_back(k); });
        queue.waitIdle();
        EXPECT_TRUE(queue.isIdle());
    }
    ASSERT_EQ(order.size(), 100u);
    for (int k = 0; k < 100; ++k)
        EXPECT_EQ(order[static_cast<std::size_t>(k)], k);

    std::atomic<bool> release{false};
    std::atomic<int> ran{0};
    SerialQueue queue("test-queue");
    queue.post([&] {
        while (!release.load())
            std::this_thread::yield();
        ++ran;
    });
    queue.post([&] { ++ran; });
    // waitIdle returns once the stop began (the first job never ends before): only then
    // may the first job end, so the second is still waiting when the stop drops it.
    std::thread releaser([&] {
        queue.waitIdle();
        release = true;
    });
    queue.stop();
    releaser.join();
    EXPECT_LE(ran.load(), 1);
    queue.post([&] { ++ran; });
    EXPECT_LE(ran.load(), 1);
}

// waitIdleFor gives up at its deadline while a job runs and answers true once it ended.
TEST(ThreadKit_SerialQueue, WaitIdleForGivesUpAtItsDeadline)
{
    std::atomic<bool> release{false};
    SerialQueue queue("test-queue");
    queue.post([&] {
        while (!release.load())
            std::this_thread::yield();
    });
    EXPECT_FALSE(queue.waitIdleFor(std::chrono::milliseconds(10)));
    release = true;
    EXPECT_TRUE(queue.waitIdleFor(std::chrono::seconds(30)));
    EXPECT_TRUE(queue.isIdle());
}

} // namespace
} // namespace mandalix
