#include "state/clock.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(Clock_Seed, TheSeedIsTheSecondsSinceMidnightOfTheMoment)
{
    const FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(20, 3, 2, 250)));
    EXPECT_EQ(secondsSinceMidnight(clock.now()), 72182.25f);
    const FixedClock early(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 0, 100)));
    EXPECT_EQ(secondsSinceMidnight(early.now()), 0.1f);
}

} // namespace
} // namespace mandalix
