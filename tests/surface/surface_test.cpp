#include "surface/colour.h"
#include "surface/interface_font.h"
#include "surface/surface.h"

#include <QFontMetrics>

#include <cmath>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(Colour_Rgb, RoundsHalfToEvenAndHoldsChannelsToBytes)
{
    struct Row {
        const char* name;
        double r, g, b;
        Colour expected;
    };
    const Row rows[] = {
        {"whole", 1, 2, 3, 1 + 256 * 2 + 65536 * 3},
        {"half down to even", 125.5, 0, 0, 126},
        {"half up to even", 124.5, 0, 0, 124},
        {"just above half", 124.5000001, 0, 0, 125},
        {"half in green and blue", 0, 0.5, 1.5, 256 * 0 + 65536 * 2},
        {"full white", 255, 255, 255, kWhite},
        {"held to 0..255", -3, 300, 255.4, 255 * 256 + 255 * 65536},
        {"not a number counts as 0", std::nan(""), 10, -std::nan(""), 10 * 256},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(rgbColour(row.r, row.g, row.b), row.expected);
    }
}

TEST(Colour_ArgbConversion, RoundTripsAndSwapsRedAndBlue)
{
    const Colour c = rgbColour(10, 20, 30);
    EXPECT_EQ(toArgb(c), 0xFF0A141Eu);
    EXPECT_EQ(fromArgb(toArgb(c)), c);
    EXPECT_EQ(fromArgb(0xFFFFFFFFu), kWhite);
}

TEST(Surface_Pixels, ReadsBackWritesAndAnswersNoColourOutside)
{
    Surface s(5, 4, kWhite);
    s.PSet(0, 0, 7);
    s.PSet(4, 3, 0x123456);
    EXPECT_EQ(s.Point(0, 0), 7);
    EXPECT_EQ(s.Point(4, 3), 0x123456);
    EXPECT_EQ(s.Point(1, 1), kWhite);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 4}, {5, 4}, {-1, -1}}) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        EXPECT_EQ(s.Point(x, y), kNoColour);
    }
}

TEST(Surface_Pixels, IgnoresWritesOutsideAndNonColours)
{
    Surface s(3, 3, 0);
    const QImage before = s.image();
    s.PSet(3, 0, kWhite);
    s.PSet(0, 3, kWhite);
    s.PSet(-1, 1, kWhite);
    s.PSet(1, 1, kNoColour);
    s.PSet(1, 1, 0x1000000);
    EXPECT_EQ(s.image(), before);
}

TEST(Surface_Cls, FillsWithBackColourAndResetsTextPosition)
{
    Surface s(4, 4, kWhite);
    s.PSet(2, 2, 0);
    s.setCurrentX(3);
    s.setCurrentY(9);
    s.setBackColor(0x00FF00);
    s.Cls();
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 4; ++y)
            EXPECT_EQ(s.Point(x, y), 0x00FF00);
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_EQ(s.CurrentY(), 0);
}

// The pixels of one colour, in raster order.
std::vector<std::pair<int, int>> pixelsOf(const Surface& s, Colour c)
{
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.Point(x, y) == c)
                found.emplace_back(x, y);
    return found;
}

TEST(Surface_Line, IncludesBothEndPointsInEveryDirection)
{
    using P = std::vector<std::pair<int, int>>;
    {
        Surface s(6, 6, 0);
        s.Line(2, 1, 2, 4, 5);
        EXPECT_EQ(pixelsOf(s, 5), (P{{2, 1}, {2, 2}, {2, 3}, {2, 4}}));
    }
    {
        Surface s(6, 6, 0);
        s.Line(4, 2, 1, 2, 5);
        EXPECT_EQ(pixelsOf(s, 5), (P{{1, 2}, {2, 2}, {3, 2}, {4, 2}}));
    }
    {
        Surface s(6, 6, 0);
        s.Line(3, 3, 0, 0, 5);
        EXPECT_EQ(pixelsOf(s, 5), (P{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    }
    {
        Surface s(6, 6, 0);
        s.Line(1, 1, 1, 1, 5);
        EXPECT_EQ(pixelsOf(s, 5), (P{{1, 1}}));
    }
}

TEST(Surface_Line, IsClippedToTheDrawingArea)
{
    Surface s(4, 4, 0);
    s.Line(2, -5, 2, 10, 9);
    EXPECT_EQ(pixelsOf(s, 9), (std::vector<std::pair<int, int>>{{2, 0}, {2, 1}, {2, 2}, {2, 3}}));
    s.Line(-3, 5, 9, 5, 8);
    EXPECT_TRUE(pixelsOf(s, 8).empty());
}

TEST(Surface_Print, DrawsOnlyBlackGlyphsAndMovesToTheNextLine)
{
    const Colour back = 0x00C8C8C8;
    Surface s(200, 60, back);
    s.Cls();
    s.setCurrentX(10);
    s.setCurrentY(5);
    s.Print(QStringLiteral("Hello"));

    QFont font = interfaceFont();
    const int lineHeight = QFontMetrics(font).height();
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_EQ(s.CurrentY(), 5 + lineHeight);
    EXPECT_LE(lineHeight, 15);

    int glyphPixels = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const Colour c = s.Point(x, y);
            ASSERT_TRUE(c == back || c == kBlack) << "antialiased pixel at " << x << "," << y;
            if (c == kBlack) {
                ++glyphPixels;
                EXPECT_GE(x, 10);
                EXPECT_GE(y, 5);
                EXPECT_LT(y, 5 + lineHeight);
            }
        }
    EXPECT_GT(glyphPixels, 20);
}

} // namespace
} // namespace mandalix
