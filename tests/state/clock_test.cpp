#include "state/clock.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(Clock_Seed, AClockSeedsWithTheSecondsSinceMidnightOfItsMoment)
{
    const FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(20, 3, 2, 250)));
    EXPECT_EQ(clock.secondsSinceMidnight(), 72182.25f);
    const FixedClock early(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 0, 100)));
    EXPECT_EQ(early.secondsSinceMidnight(), 0.1f);
}

TEST(Clock_Seed, ASeededClockGivesItsSeedExactly)
{
    // 0.1f + 2^-27 is no whole number of milliseconds: a clock reading could not give it.
    const float seed = 0.1f + 0x1p-27f;
    ASSERT_NE(seed, 0.1f);
    const QDateTime moment(QDate(2026, 12, 7), QTime(9, 0));
    const SeededClock clock(moment, seed);
    EXPECT_EQ(clock.secondsSinceMidnight(), seed);
    EXPECT_EQ(clock.now(), moment);
}

} // namespace
} // namespace mandalix
