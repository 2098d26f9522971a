#include "generator/scaled_picture.h"

#include "generator/picture_parameters.h"
#include "generator/pixel_pipeline.h"
#include "generator/traversals.h"
#include "palette/palette_strip.h"
#include "program/surfaces.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
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

// DrawPixel at the framed positions of `rows` of a picture of `size`, failed pixels black:
// what the renderer must give.
QImage pipelineRows(const WindowState& state, const Surface& picture3, QSize size, const std::vector<int>& rows)
{
    WindowState own = state;
    Surface scratch(1, 1, kBlack);
    const int shorter = shorterSide(size.width(), size.height());
    QImage image(size.width(), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int k = 0; k < image.height(); ++k) {
        const double y = rowToY(own, framedPosition(rows[static_cast<std::size_t>(k)], size.height(), shorter));
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(k));
        for (int column = 0; column < size.width(); ++column) {
            own.x = columnToX(own, framedPosition(column, size.width(), shorter));
            own.y = y;
            line[column] = DrawPixel(own, picture3, scratch) ? toArgb(own.barva) : toArgb(kBlack);
        }
    }
    return image;
}

// Every `stride`-th row, the row mirroring each across the middle (the two share their
// distances and their angles' terms), and those near the mandala's centre (grid row
// vis / 2).
std::vector<int> sampledRows(const WindowState& s, QSize size, int stride)
{
    const int shorter = shorterSide(size.width(), size.height());
    std::vector<int> rows;
    for (int row = 0; row < size.height(); ++row)
        if (row % stride == 0 || (size.height() - 1 - row) % stride == 0
            || std::abs(framedPosition(row, size.height(), shorter) - s.vis / 2) < 0.5)
            rows.push_back(row);
    return rows;
}

int differentPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x)
            count += left.pixel(x, y) != right.pixel(x, y);
    return count;
}

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

TEST(PaintScaled_Pipeline, EveryFormulaSetAtEveryScaleIsThePipelinesPicture)
{
    const struct {
        int scale;
        int stride; // 1: every row
    } scales[] = {{1, 1}, {2, 3}, {3, 11}, {8, 97}, {16, 331}};
    for (int tip = 1; tip <= 4; ++tip) {
        for (int barv = 1; barv <= 5; ++barv) {
            Scene scene(31000.75f + static_cast<float>(tip * 5 + barv), tip);
            scene.s.barv = barv;
            for (const auto& [scale, stride] : scales) {
                SCOPED_TRACE(testing::Message() << "tip " << tip << " barv " << barv << " scale " << scale);
                const QSize size(kPictureSizePx * scale, kPictureSizePx * scale);
                const std::vector<int> rows = sampledRows(scene.s, size, stride);
                EXPECT_EQ(differentPixels(paintScaledRows(scene.s, scene.picture3, size, rows, 2),
                                          pipelineRows(scene.s, scene.picture3, size, rows)),
                          0);
            }
        }
    }
}

TEST(PaintScaled_Pipeline, AnySizeAndParametersThatFailAreThePipelinesPicture)
{
    Scene plain(5000.5f, 4.0);
    plain.s.barv = 3;
    Scene overflowing(6000.5f, 2.0);
    overflowing.s.barv = 5;
    overflowing.s.komp3 = 1e305; // bl overflows: too many values for a table
    overflowing.s.n1 = 1e300;
    overflowing.s.baf03 = 0;
    Scene outOfRange(7000.5f, 300.0); // no formula set: every pixel fails
    Scene halfway(8000.5f, 2.5);      // rounds to formula set 2
    halfway.s.barv = 3.5;              // rounds to 4
    halfway.s.komp3 = -40;             // bl below zero
    const struct {
        const char* name;
        const Scene* scene;
        QSize size;
    } cases[] = {
        {"wide, not a whole density", &plain, {700, 301}},
        {"tall", &plain, {150, 460}},
        {"odd density, wide", &plain, {1813, 1359}},
        {"one more than the window", &plain, {454, 453}},
        {"a single pixel", &plain, {1, 1}},
        {"overflowing terms", &overflowing, {500, 420}},
        {"no formula set", &outOfRange, {300, 200}},
        {"halfway types and a negative komp3", &halfway, {640, 480}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<int> rows = sampledRows(c.scene->s, c.size, c.size.height() > 1000 ? 17 : 1);
        const QImage painted = paintScaledRows(c.scene->s, c.scene->picture3, c.size, rows, 3);
        EXPECT_EQ(differentPixels(painted, pipelineRows(c.scene->s, c.scene->picture3, c.size, rows)), 0);
    }
    EXPECT_EQ(blackPixels(paintScaled(outOfRange.s, outOfRange.picture3, QSize(30, 20), 2)), 600);
}

// The renderer works out the angle's terms of (x, y) once and negates them for (x, -y):
// exact only while the maths library's atan and sin are odd to the bit.
TEST(PaintScaled_Pipeline, TheMathsLibrarysAtanAndSinAreOddToTheBit)
{
    std::mt19937_64 random(99);
    int uneven = 0;
    for (int k = 0; k < 200000; ++k) {
        // Whole mantissas at magnitudes from 2^-40 to 2^40: slopes of every steepness, and
        // sine arguments of every size a picture's f1 * fi or f2 * fi can reach.
        const std::uint64_t draw = random();
        const double v = std::ldexp(1 + static_cast<double>(draw >> 11) * 0x1p-53, static_cast<int>(draw % 81) - 40);
        const auto bits = [](double d) { return std::bit_cast<std::uint64_t>(d); };
        uneven += bits(std::atan(-v)) != bits(-std::atan(v));
        uneven += bits(std::sin(-v)) != bits(-std::sin(v));
    }
    EXPECT_EQ(uneven, 0);
}

TEST(PaintScaled_Framing, AWidePictureMatchesTheWindowsOnTheSharedGrid)
{
    // 1359 rows at three times the density, 227 more columns each side: column 228 + 3i,
    // row 1 + 3j is window position (i, j).
    Scene scene(1234.5f, 1.0);
    const QImage window = scene.windowPicture();
    const QImage wide = paintScaled(scene.s, scene.picture3, QSize(1813, 1359), 2);
    int different = 0;
    for (int j = 0; j < kPictureSizePx; ++j)
        for (int i = 0; i < kPictureSizePx; ++i)
            different += wide.pixel(228 + 3 * i, 1 + 3 * j) != window.pixel(i, j);
    EXPECT_EQ(different, 0);
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
