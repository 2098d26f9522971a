#include "generator/picture_parameters.h"

#include <cmath>
#include <set>
#include <vector>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

std::vector<double> takeDraws(Rnd rnd, int count)
{
    std::vector<double> draws;
    for (int k = 0; k < count; ++k)
        draws.push_back(rnd.next());
    return draws;
}

double single(double v) { return static_cast<float>(v); }

TEST(DrawPictureParameters, UsesEighteenDrawsInTableOrderWithItsRoundingsAndASkipTheSame)
{
    for (int seed = 0; seed < 200; ++seed) {
        SCOPED_TRACE(seed);
        Rnd rnd(static_cast<float>(seed) * 431.7f);
        const std::vector<double> r = takeDraws(rnd, 19);
        WindowState s;
        drawPictureParameters(s, rnd);

        EXPECT_EQ(s.tip, std::floor(r[0] * 4 + 1));
        EXPECT_EQ(s.barv, std::floor(r[1] * 5 + 1));
        EXPECT_EQ(s.f1, 2 * std::floor(r[2] * 10 + 3));
        EXPECT_EQ(s.f2, 2 * std::floor(r[3] * 7 + 2));
        EXPECT_EQ(s.n1, single(r[4] * 20 + 10));
        EXPECT_EQ(s.n2, single(r[5] * 20 + 10));
        EXPECT_EQ(s.n3, single(r[6] * 6 + 3));
        EXPECT_EQ(s.n4, r[7] * 0.8 + 0.1);
        // r[8] is the unused even number.
        EXPECT_EQ(s.komp1, std::floor(r[9] * 50 + 100));
        EXPECT_EQ(s.komp2, std::floor(r[10] * 50 + 100));
        EXPECT_EQ(s.komp3, std::floor(r[11] * 50 + 100));
        EXPECT_EQ(s.ba1, std::floor(r[12] * 80 + 150));
        EXPECT_EQ(s.ba2, std::floor(r[13] * 80 + 340));
        EXPECT_EQ(s.ba3, std::floor(r[14] * 80 + 530));
        EXPECT_EQ(s.baf01, single(r[15] * 20 + 20));
        EXPECT_EQ(s.baf02, single(r[16] * 2 + 2));
        EXPECT_EQ(s.baf03, single(r[17] * 100 + 100));
        // Exactly eighteen draws: the next one is the nineteenth of the sequence, also
        // after skipping them.
        EXPECT_EQ(static_cast<double>(rnd.next()), r[18]);
        Rnd skipped(static_cast<float>(seed) * 431.7f);
        skipPictureParameters(skipped);
        EXPECT_EQ(static_cast<double>(skipped.next()), r[18]);
    }
}

TEST(DrawPictureParameters, StaysInRangeAndReachesEveryWholeValue)
{
    struct Whole {
        const char* name;
        double WindowState::*field;
        double low, high, step;
    };
    const Whole wholes[] = {
        {"tip", &WindowState::tip, 1, 4, 1},           {"barv", &WindowState::barv, 1, 5, 1},
        {"f1", &WindowState::f1, 6, 24, 2},            {"f2", &WindowState::f2, 4, 16, 2},
        {"komp1", &WindowState::komp1, 100, 149, 1},   {"komp2", &WindowState::komp2, 100, 149, 1},
        {"komp3", &WindowState::komp3, 100, 149, 1},   {"ba1", &WindowState::ba1, 150, 229, 1},
        {"ba2", &WindowState::ba2, 340, 419, 1},       {"ba3", &WindowState::ba3, 530, 609, 1},
    };
    struct Fraction {
        const char* name;
        double WindowState::*field;
        double low, high;
        bool isSingle;
    };
    const Fraction fractions[] = {
        {"n1", &WindowState::n1, 10, 30, true},      {"n2", &WindowState::n2, 10, 30, true},
        {"n3", &WindowState::n3, 3, 9, true},        {"n4", &WindowState::n4, 0.1, 0.9, false},
        {"baf01", &WindowState::baf01, 20, 40, true}, {"baf02", &WindowState::baf02, 2, 4, true},
        {"baf03", &WindowState::baf03, 100, 200, true},
    };

    std::vector<std::set<double>> seen(std::size(wholes));
    int n4NotSingle = 0;
    for (int seed = 0; seed < 3000; ++seed) {
        Rnd rnd(static_cast<float>(seed) * 28.8f + 0.125f);
        WindowState s;
        drawPictureParameters(s, rnd);
        for (std::size_t k = 0; k < std::size(wholes); ++k) {
            const Whole& w = wholes[k];
            SCOPED_TRACE(w.name);
            const double v = s.*w.field;
            ASSERT_GE(v, w.low);
            ASSERT_LE(v, w.high);
            ASSERT_EQ(std::fmod(v - w.low, w.step), 0.0);
            seen[k].insert(v);
        }
        for (const Fraction& f : fractions) {
            SCOPED_TRACE(f.name);
            const double v = s.*f.field;
            ASSERT_GE(v, f.low);
            // A single-precision value may round up onto the upper bound itself.
            if (f.isSingle) {
                ASSERT_LE(v, f.high);
                ASSERT_EQ(v, single(v));
            } else {
                ASSERT_LT(v, f.high);
            }
        }
        n4NotSingle += s.n4 != single(s.n4);
    }
    for (std::size_t k = 0; k < std::size(wholes); ++k) {
        SCOPED_TRACE(wholes[k].name);
        EXPECT_EQ(seen[k].size(),
                  static_cast<std::size_t>((wholes[k].high - wholes[k].low) / wholes[k].step + 1));
    }
    EXPECT_GT(n4NotSingle, 1500) << "n4 is kept in double precision";
}

} // namespace
} // namespace mandalix
