// The pacer's schedule on a clock the test moves, then its waits on the real clock: a
// pause holds a checkpoint, a stop wakes one at once, and the hooks run around each wait.
#include "generator/pass_pacer.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <string>
#include <vector>

namespace mandalix {
namespace {

using namespace std::chrono_literals;
using Clock = PassPacer::Clock;

struct Pause {
    std::chrono::milliseconds from;
    std::optional<std::chrono::milliseconds> to; // none: still paused when asked
};

struct DueRow {
    const char* name;
    long long positions;
    long long done;
    std::vector<Pause> pauses; // times from the pass's start
    std::chrono::milliseconds askedAt;
    std::chrono::milliseconds due;
};

TEST(PassPacerThread, DueTimesSpreadThePassAndPausesPutOffWhatFollows)
{
    const std::vector<DueRow> rows = {
        {"the start is due at once", 1000, 0, {}, 0ms, 0ms},
        {"halfway at half the duration", 1000, 500, {}, 0ms, 1000ms},
        {"the end at the duration", 1000, 1000, {}, 0ms, 2000ms},
        {"a share rounds down to the millisecond", 3, 1, {}, 0ms, 666ms},
        {"no positions count as one", 0, 1, {}, 0ms, 2000ms},
        {"a pause puts off what follows", 1000, 500, {{300ms, 800ms}}, 900ms, 1500ms},
        {"pauses add up", 1000, 500, {{100ms, 200ms}, {1200ms, 1500ms}}, 1600ms, 1400ms},
        {"a pause before the pass does not count", 1000, 500, {{-500ms, -100ms}}, 0ms, 1000ms},
        {"a pause going on at the start counts from the start", 1000, 500, {{-500ms, 300ms}}, 400ms, 1300ms},
        {"a pause going on counts up to now", 1000, 500, {{200ms, std::nullopt}}, 700ms, 1500ms},
    };
    for (const DueRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Clock::time_point start = Clock::time_point{} + 1h;
        Clock::time_point now = start - 1s;
        PassPacer pacer(2000ms, {}, [&now] { return now; });
        bool hasBegun = false;
        const auto beginAtStart = [&](std::chrono::milliseconds at) {
            if (!hasBegun && at >= 0ms) {
                now = start;
                pacer.beginPass(row.positions);
                hasBegun = true;
            }
        };
        for (const Pause& pause : row.pauses) {
            beginAtStart(pause.from);
            now = start + pause.from;
            pacer.pause();
            if (pause.to) {
                beginAtStart(*pause.to);
                now = start + *pause.to;
                pacer.resume();
            }
        }
        beginAtStart(0ms);
        now = start + row.askedAt;
        EXPECT_EQ(pacer.dueAt(row.done) - start, Clock::duration(row.due));
    }
}

TEST(PassPacerThread, APauseHoldsACheckpointAndAStopWakesItAtOnce)
{
    std::vector<std::string> hooks; // touched by one checkpoint at a time
    PassPacer pacer(std::chrono::hours(1),
                    {[&hooks] { hooks.emplace_back("before"); }, [&hooks] { hooks.emplace_back("after"); }});
    pacer.beginPass(1000);
    EXPECT_TRUE(pacer.checkpoint(0)) << "due at once";

    // Paused, even what is due holds until the pacer is resumed.
    pacer.pause();
    std::atomic<bool> isResumed{false};
    auto held = std::async(std::launch::async, [&] {
        const bool isGoingOn = pacer.checkpoint(0);
        return isGoingOn && isResumed.load();
    });
    EXPECT_EQ(held.wait_for(20ms), std::future_status::timeout);
    isResumed = true;
    pacer.resume();
    ASSERT_EQ(held.wait_for(30s), std::future_status::ready);
    EXPECT_TRUE(held.get()) << "went on before the resume";

    // Half an hour away: only the stop ends the wait, and it says to stop.
    auto waiting = std::async(std::launch::async, [&] { return pacer.checkpoint(500); });
    pacer.stop();
    ASSERT_EQ(waiting.wait_for(30s), std::future_status::ready) << "the stop did not wake the wait";
    EXPECT_FALSE(waiting.get());
    EXPECT_FALSE(pacer.checkpoint(0)) << "a stop lasts until cleared";
    pacer.clearStop();
    EXPECT_TRUE(pacer.checkpoint(0));
    // Every checkpoint let go before its wait and took back after, a stopped one too.
    const std::vector<std::string> pair = {"before", "after"};
    ASSERT_EQ(hooks.size(), 10u);
    for (std::size_t k = 0; k < hooks.size(); k += 2)
        EXPECT_EQ(std::vector<std::string>(hooks.begin() + static_cast<long>(k), hooks.begin() + static_cast<long>(k) + 2), pair);
}

} // namespace
} // namespace mandalix
