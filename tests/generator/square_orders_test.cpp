// The orders over a square of any side, taken in blocks: each position exactly once and
// the counts, column-major left to right, rings that grow from the centre clockwise,
// and a random order that is the same for the same seed and spread over the square.
#include "generator/square_orders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace mandalix {
namespace {

std::vector<SquarePosition> wholeOrder(SquareOrderKind kind, int side, long long blockSize,
                                       float seed = 1.5f)
{
    Rnd rnd(seed);
    SquareOrder order(kind, side, &rnd);
    std::vector<SquarePosition> all;
    std::vector<SquarePosition> block;
    while (!order.isDone()) {
        order.take(blockSize, block);
        EXPECT_LE(static_cast<long long>(block.size()), blockSize);
        EXPECT_FALSE(block.empty()) << "a block of an unfinished order holds a position";
        all.insert(all.end(), block.begin(), block.end());
    }
    EXPECT_EQ(order.taken(), order.positions());
    return all;
}

int ringOf(SquarePosition p, int side)
{
    // Twice the distance from the centre, in the larger direction: whole for both parities.
    const int column = static_cast<int>(p % side);
    const int row = static_cast<int>(p / side);
    return std::max(std::abs(2 * column - (side - 1)), std::abs(2 * row - (side - 1)));
}

TEST(SquareOrder_Blocks, EveryOrderPaintsEveryPositionExactlyOnceWhateverTheBlock)
{
    for (SquareOrderKind kind : {SquareOrderKind::LeftToRight, SquareOrderKind::Rings,
                                 SquareOrderKind::Random}) {
        // 40 and 41: enough cells left for the random order to switch to its list.
        for (int side : {1, 2, 3, 4, 7, 40, 41}) {
            for (long long blockSize : {1LL, 7LL, 1000000LL}) {
                SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " side "
                             + std::to_string(side) + " block " + std::to_string(blockSize));
                std::vector<SquarePosition> all = wholeOrder(kind, side, blockSize);
                ASSERT_EQ(all.size(), static_cast<std::size_t>(side * side));
                std::sort(all.begin(), all.end());
                for (std::size_t k = 0; k < all.size(); ++k)
                    ASSERT_EQ(all[k], k) << "a position missing or painted twice";
            }
        }
    }
}

TEST(SquareOrder_LeftToRight, GoesColumnByColumnFromTheLeftEachFromTheTop)
{
    const int side = 5;
    const std::vector<SquarePosition> all = wholeOrder(SquareOrderKind::LeftToRight, side, 3);
    for (std::size_t k = 0; k < all.size(); ++k) {
        EXPECT_EQ(all[k] % side, k / side) << "column at " << k;
        EXPECT_EQ(all[k] / side, k % side) << "row at " << k;
    }
}

TEST(SquareOrder_Rings, GrowFromTheCentreClockwiseEndingAtTheTopLeftCorner)
{
    // Side 3: the centre, then the ring from its second top position, clockwise. Side 4:
    // the 2 x 2 centre ring, the same way round.
    const auto at = [](int side, int column, int row) {
        return static_cast<SquarePosition>(row * side + column);
    };
    EXPECT_EQ(wholeOrder(SquareOrderKind::Rings, 3, 4),
              (std::vector<SquarePosition>{at(3, 1, 1), at(3, 1, 0), at(3, 2, 0), at(3, 2, 1),
                                           at(3, 2, 2), at(3, 1, 2), at(3, 0, 2), at(3, 0, 1),
                                           at(3, 0, 0)}));
    const std::vector<SquarePosition> four = wholeOrder(SquareOrderKind::Rings, 4, 100);
    EXPECT_EQ(std::vector<SquarePosition>(four.begin(), four.begin() + 4),
              (std::vector<SquarePosition>{at(4, 2, 1), at(4, 2, 2), at(4, 1, 2), at(4, 1, 1)}));

    for (int side : {8, 9, 1080}) {
        SCOPED_TRACE(side);
        const std::vector<SquarePosition> all = wholeOrder(SquareOrderKind::Rings, side, 997);
        int ring = ringOf(all[0], side);
        int rings = 1;
        for (std::size_t k = 1; k < all.size(); ++k) {
            const int next = ringOf(all[k], side);
            ASSERT_GE(next, ring) << "a ring nearer the centre after a farther one, at " << k;
            if (next != ring) {
                ++rings;
                // Each ring's first position is just right of its top-left corner.
                const int lo = (side - 1 - next) / 2;
                ASSERT_EQ(all[k], static_cast<SquarePosition>(lo * side + lo + 1));
            } else {
                // Along a ring each step goes to a neighbour.
                const int dc = std::abs(static_cast<int>(all[k] % side) - static_cast<int>(all[k - 1] % side));
                const int dr = std::abs(static_cast<int>(all[k] / side) - static_cast<int>(all[k - 1] / side));
                ASSERT_EQ(dc + dr, 1) << "a jump along a ring at " << k;
            }
            ring = next;
        }
        EXPECT_EQ(rings, ringCount(side));
        EXPECT_EQ(all.back(), 0u) << "the outermost ring ends at the top-left corner";
    }
}

TEST(SquareOrder_Random, TheSameSeedGivesTheSameOrderAndNoiseOneColourPerPosition)
{
    const std::vector<SquarePosition> a = wholeOrder(SquareOrderKind::Random, 60, 500, 7.25f);
    EXPECT_EQ(a, wholeOrder(SquareOrderKind::Random, 60, 33, 7.25f)) << "blocks change nothing";
    EXPECT_NE(a, wholeOrder(SquareOrderKind::Random, 60, 500, 7.5f));
    EXPECT_NE(a, wholeOrder(SquareOrderKind::LeftToRight, 60, 500));

    Rnd rnd(7.25f);
    SquareOrder order(SquareOrderKind::Random, 60, &rnd);
    std::vector<SquarePosition> block;
    std::vector<Colour> noise;
    order.take(2000, block, &noise);
    ASSERT_EQ(noise.size(), block.size());
    EXPECT_TRUE(std::all_of(noise.begin(), noise.end(), [](Colour c) { return isColour(c); }));
    EXPECT_EQ(std::vector<SquarePosition>(a.begin(), a.begin() + 2000), block) << "the noise moves no position";
    EXPECT_NE(noise, std::vector<Colour>(noise.size(), noise.front()));
}

TEST(SquareOrder_Random, EveryEighthOfTheOrderIsSpreadOverTheWholeSquare)
{
    // Each eighth of the order puts about 112 positions in each of the 8 x 8 tiles of
    // 30 x 30; an order that sweeps or clusters leaves tiles empty or full.
    const int side = 240;
    const std::vector<SquarePosition> all = wholeOrder(SquareOrderKind::Random, side, 7200, 3.0f);
    for (int eighth = 0; eighth < 8; ++eighth) {
        int tiles[8][8] = {};
        for (int k = eighth * 7200; k < (eighth + 1) * 7200; ++k)
            ++tiles[all[static_cast<std::size_t>(k)] / side / 30][all[static_cast<std::size_t>(k)] % side / 30];
        for (const auto& row : tiles)
            for (int count : row) {
                EXPECT_GT(count, 70) << "eighth " << eighth;
                EXPECT_LT(count, 155) << "eighth " << eighth;
            }
    }
}

} // namespace
} // namespace mandalix
