#include "generator/picture_frame.h"

#include "generator/scaled_picture.h"

#include <bit>
#include <cstdint>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

std::uint64_t bitsOf(double v) { return std::bit_cast<std::uint64_t>(v); }

TEST(FramedPosition, ASquareOfWholeScalesIsTheScaledGridToTheBit)
{
    for (int scale = 1; scale <= kMaxScale; ++scale) {
        SCOPED_TRACE(scale);
        const int side = kPictureSizePx * scale;
        int different = 0;
        for (int index = 0; index < side; ++index)
            different += bitsOf(framedPosition(index, side, side)) != bitsOf((index + 0.5) / scale - 0.5);
        EXPECT_EQ(different, 0);
    }
}

TEST(FramedPosition, AWidePictureIsCentredAndGrowsOnlyItsLongerSide)
{
    // 3840 x 2160: the two middle columns and the two middle rows lie half a pixel either
    // side of the window picture's middle, grid position 226, at 453 / 2160 positions a pixel.
    const double step = 453.0 / 2160;
    EXPECT_EQ(framedPosition(1919, 3840, 2160) + framedPosition(1920, 3840, 2160), 452);
    EXPECT_EQ(framedPosition(1079, 2160, 2160) + framedPosition(1080, 2160, 2160), 452);
    EXPECT_NEAR(framedPosition(1920, 3840, 2160) - 226, step / 2, 1e-12);
    // An odd side has a middle pixel, exactly on it.
    EXPECT_EQ(framedPosition(1920, 3841, 2161), 226);
    EXPECT_EQ(framedPosition(1080, 2161, 2161), 226);
    // The rows span the window picture's rows edge to edge (-0.5 to 452.5), the columns
    // 840 pixels more on each end.
    EXPECT_DOUBLE_EQ(framedPosition(0, 2160, 2160) - step / 2, -0.5);
    EXPECT_DOUBLE_EQ(framedPosition(2159, 2160, 2160) + step / 2, 452.5);
    EXPECT_DOUBLE_EQ(framedPosition(840, 3840, 2160) - step / 2, -0.5);
    EXPECT_DOUBLE_EQ(framedPosition(3839, 3840, 2160) + step / 2, 452.5 + 840 * step);
    // Columns the same distance from either end mirror each other about the middle.
    EXPECT_NEAR(framedPosition(1000, 3840, 2160), 452 - framedPosition(2839, 3840, 2160), 1e-12);
}

TEST(FramedPosition, AnOddDensityLandsOnTheWindowsGrid)
{
    // 1813 x 1359 is three times the density with 227 more pixels each side:
    // column 228 + 3k and row 1 + 3k stand for grid position k exactly.
    for (int k : {0, 1, 226, 452}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(framedPosition(228 + 3 * k, 1813, 1359), k);
        EXPECT_EQ(framedPosition(1 + 3 * k, 1359, 1359), k);
    }
    EXPECT_EQ(shorterSide(1813, 1359), 1359);
    EXPECT_EQ(shorterSide(7, 9000), 7);
}

} // namespace
} // namespace mandalix
