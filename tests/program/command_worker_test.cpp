#include "program/command_worker.h"

#include "state/clock.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <atomic>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

struct WorkerFixture : ::testing::Test {
    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(10, 15, 0))};
    Program program{clock, Drives{folder.path(), folder.path()}};
};

using WorkerThread = WorkerFixture;

TEST_F(WorkerThread, RunsCommandsOneAtATimeInTheOrderPosted)
{
    std::mutex seenLock;
    std::vector<double> nacAfterEach;
    CommandWorker worker(
        program.surfaces, commandsOf(program),
        [&](const Command&, const CommandResult&) {
            // Called on the worker thread right after the command; the state is the worker's.
            std::lock_guard lock(seenLock);
            nacAfterEach.push_back(program.state.nac);
        },
        0ms);
    worker.post(cmd::StartUp{});
    for (int k = 0; k < 5; ++k)
        worker.post(cmd::GenerationType{});
    ASSERT_TRUE(worker.waitUntilIdle(60s));
    worker.stop();
    std::lock_guard lock(seenLock);
    EXPECT_EQ(nacAfterEach, (std::vector<double>{4, 1, 2, 3, 4, 1}));
}

TEST_F(WorkerThread, SnapshotsUnderTheLockNeverSeeAHalfPaintedColumn)
{
    CommandWorker worker(
        program.surfaces, commandsOf(program), nullptr, 0ms);
    worker.post(cmd::StartUp{});
    std::atomic<bool> done{false};
    int torn = 0;
    std::thread reader([&] {
        while (!done.load()) {
            QImage strip;
            {
                std::lock_guard lock(program.surfaces.lock);
                strip = program.surfaces.Picture3.image();
            }
            for (int x = 0; x < strip.width(); ++x)
                torn += strip.pixel(x, 0) != strip.pixel(x, strip.height() - 1);
        }
    });
    for (int k = 0; k < 50; ++k)
        worker.post(cmd::ChangePalette{});
    ASSERT_TRUE(worker.waitUntilIdle(60s));
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}

TEST_F(WorkerThread, StopDropsWhatIsQueuedAndIgnoresLaterPosts)
{
    std::atomic<int> ran{0};
    CommandWorker worker(
        program.surfaces, commandsOf(program), [&](const Command&, const CommandResult&) { ++ran; }, 0ms);
    worker.stop();
    worker.post(cmd::GenerationType{});
    EXPECT_TRUE(worker.waitUntilIdle(1s));
    EXPECT_EQ(ran.load(), 0);
    EXPECT_EQ(program.state.nac, 4);
    worker.stop();
}

// Waits for a condition with a deadline; true when it came.
template <class Condition>
bool eventually(Condition condition, std::chrono::milliseconds timeout = 60s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST_F(WorkerThread, LetsGoOfTheSurfacesWhileAPictureIsPaced)
{
    // A pass paced over an hour: the picture is still being painted during the test.
    CommandWorker worker(
        program.surfaces, commandsOf(program), nullptr, std::chrono::hours(1));
    worker.post(cmd::StartUp{});
    const std::uint64_t before = program.surfaces.picture1Changes.load();
    ASSERT_TRUE(eventually([&] { return program.surfaces.picture1Changes.load() > before; }));
    EXPECT_TRUE(worker.isBusy());
    // The window can take a snapshot in the middle of the picture.
    ASSERT_TRUE(eventually([&] {
        std::unique_lock lock(program.surfaces.lock, std::try_to_lock);
        return lock.owns_lock();
    }));
    worker.stop();
}

TEST_F(WorkerThread, StopEndsAPictureMidwayAndDropsTheQueue)
{
    std::atomic<int> finished{0};
    CommandWorker worker(
        program.surfaces, commandsOf(program), [&](const Command&, const CommandResult&) { ++finished; }, std::chrono::hours(1));
    worker.post(cmd::StartUp{});
    for (int k = 0; k < 3; ++k)
        worker.post(cmd::GenerationType{});
    const std::uint64_t before = program.surfaces.picture1Changes.load();
    ASSERT_TRUE(eventually([&] { return program.surfaces.picture1Changes.load() > before; }));

    auto stopped = std::async(std::launch::async, [&] { worker.stop(); });
    ASSERT_EQ(stopped.wait_for(30s), std::future_status::ready) << "stop waited for the picture";
    EXPECT_EQ(finished.load(), 0);
    EXPECT_EQ(program.state.nac, 4) << "queued commands ran after the stop";
}

} // namespace
} // namespace mandalix
