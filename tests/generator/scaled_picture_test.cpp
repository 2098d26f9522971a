#include "generator/scaled_picture.h"

#include "generator/picture_parameters.h"
#include "generator/pixel_pipeline.h"
#include "generator/traversals.h"
#include "palette/palette_strip.h"
#include "program/surfaces.h"

#include <vector>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

// The start-up coordinate window, parameters drawn from `seed` with the formula set
// `tip`, and a strip.
struct Scene {
    WindowState s;
    Surface picture3{kStripWidthPx, kStripHeightPx, kPictureBackColour};

    Scene(float seed, double tip)
    {
        Rnd rnd(seed);
        DrawPalette(s, picture3, rnd);
        drawPictureParameters(s, rnd);
        s.tip = tip;
        // Under formula set 2 the corners beyond n4 * r = pi fail.
        s.n4 = 0.85;
    }

    // The window's picture painted left to right on a black Picture1: what scale 1 must
    // give, failed pixels black.
    QImage windowPicture()
    {
        WindowState own = s;
        Surface picture1(kPictureSizePx, kPictureSizePx, kBlack);
        paintLeftToRight(own, noPacing(), [&] { (void)DrawPixel(own, picture3, picture1); });
        return picture1.image();
    }
};

int blackPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == 0;
    return count;
}

TEST(PaintScaled_Framing, ScaleOneIsTheWindowsPicture)
{
    for (double tip : {1.0, 2.0, 3.0, 4.0}) {
        SCOPED_TRACE(tip);
        Scene scene(4321.5f, tip);
        const QImage window = scene.windowPicture();
        const QImage scaled = paintScaled(scene.s, scene.picture3, 1, 2);
        ASSERT_EQ(scaled.size(), QSize(453, 453));
        EXPECT_EQ(scaled.convertToFormat(QImage::Format_RGB32), window);
    }
}

TEST(PaintScaled_Framing, EveryThirdPixelAtScaleThreeIsAWindowPixel)
{
    // At scale 3, output pixel 3i + 1 stands for window position (3i + 1.5) / 3 - 0.5 = i.
    // Under formula set 2 whole rings fail: they stay black in both.
    for (double tip : {2.0, 4.0}) {
        SCOPED_TRACE(tip);
        Scene scene(60000.0f, tip);
        const QImage window = scene.windowPicture();
        const QImage scaled = paintScaled(scene.s, scene.picture3, 3, 2);
        ASSERT_EQ(scaled.size(), QSize(1359, 1359));
        int different = 0;
        for (int j = 0; j < 453; ++j)
            for (int i = 0; i < 453; ++i)
                different += scaled.pixel(3 * i + 1, 3 * j + 1) != window.pixel(i, j);
        EXPECT_EQ(different, 0);
        if (tip == 2.0) {
            EXPECT_GT(blackPixels(window), 5000);
            EXPECT_GT(blackPixels(scaled), 8 * blackPixels(window));
        }
    }
}

TEST(PaintScaled_Threads, AnyNumberOfThreadsPaintsTheSamePixels)
{
    Scene scene(777.25f, 2.0);
    const QImage one = paintScaled(scene.s, scene.picture3, 2, 1);
    for (int threads : {2, 3, 7}) {
        SCOPED_TRACE(threads);
        EXPECT_EQ(paintScaled(scene.s, scene.picture3, 2, threads), one);
    }
}

TEST(PaintScaled_Threads, ReportsRowsInOrderAndEndsWithAll)
{
    Scene scene(777.25f, 1.0);
    std::vector<std::pair<long long, long long>> reports;
    (void)paintScaled(scene.s, scene.picture3, 2, 2,
                      [&](long long done, long long rows) { reports.emplace_back(done, rows); });
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), std::make_pair(906LL, 906LL));
    for (std::size_t k = 1; k < reports.size(); ++k)
        EXPECT_LE(reports[k - 1].first, reports[k].first);
}

} // namespace
} // namespace mandalix
