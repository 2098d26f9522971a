#include "app/command_worker.h"

#include "state/clock.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <atomic>
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
        program,
        [&](const Command&, const CommandResult&) {
            // Called on the worker thread right after the command; the state is the worker's.
            std::lock_guard lock(seenLock);
            nacAfterEach.push_back(program.state.nac);
        },
        0ms);
    worker.post(Command{CommandKind::StartUp});
    for (int k = 0; k < 5; ++k)
        worker.post(Command{CommandKind::GenerationType});
    ASSERT_TRUE(worker.waitUntilIdle(60s));
    worker.stop();
    std::lock_guard lock(seenLock);
    EXPECT_EQ(nacAfterEach, (std::vector<double>{4, 1, 2, 3, 4, 1}));
}

TEST_F(WorkerThread, SnapshotsUnderTheLockNeverSeeAHalfPaintedColumn)
{
    CommandWorker worker(program, nullptr, 0ms);
    worker.post(Command{CommandKind::StartUp});
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
        worker.post(Command{CommandKind::ChangePalette});
    ASSERT_TRUE(worker.waitUntilIdle(60s));
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}

TEST_F(WorkerThread, StopDropsWhatIsQueuedAndIgnoresLaterPosts)
{
    std::atomic<int> ran{0};
    CommandWorker worker(program, [&](const Command&, const CommandResult&) { ++ran; }, 0ms);
    worker.stop();
    worker.post(Command{CommandKind::GenerationType});
    EXPECT_TRUE(worker.waitUntilIdle(1s));
    EXPECT_EQ(ran.load(), 0);
    EXPECT_EQ(program.state.nac, 4);
    worker.stop();
}

} // namespace
} // namespace mandalix
