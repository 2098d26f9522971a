#include "generator/pixel_pipeline.h"

#include "program/surfaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>

namespace mandalix {
namespace {

// Every strip pixel has its own colour, so a painted colour tells which column and row
// of the strip were read.
Colour stripColour(int column, int row) { return row * 1024 + column; }
Colour newStripColour(int column, int row) { return 0x400000 + row * 1024 + column; }

Surface makeStrip(Colour (*colourAt)(int, int), int width = kStripWidthPx,
    int height = kStripHeightPx)
{
    Surface strip(width, height, kBlack);
    for (int column = 0; column < width; ++column)
        for (int row = 0; row < height; ++row)
            strip.PSet(column, row, colourAt(column, row));
    return strip;
}

// What the picture shows where nothing was painted; no strip colour looks like it.
constexpr Colour kUntouched = 0x123456;
// A value no step of the pipeline produces, to see which variables a pixel assigned.
constexpr double kStale = -12345.5;
constexpr Colour kStaleColour = 0x0ABCDE;

// Parameters as a picture might draw them; n1, n2, n3, baf01..baf03 are the single
// precision values nearest 17.3, 23.7, 5.41, 27.3, 2.61, 143.9.
void setParameters(WindowState& s, double tip, double barv)
{
    s.tip = tip;
    s.barv = barv;
    s.n1 = 17.299999237060547;
    s.n2 = 23.700000762939453;
    s.n3 = 5.409999847412109;
    s.n4 = 0.37;
    s.f1 = 12;
    s.f2 = 8;
    s.komp1 = 123;
    s.komp2 = 137;
    s.komp3 = 111;
    s.baf01 = 27.299999237060547;
    s.baf02 = 2.609999895095825;
    s.baf03 = 143.89999389648438;
}

// Column and row, with the centred coordinates of the 458 x 458 grid.
void placeAt(WindowState& s, int column, int row)
{
    s.i = column;
    s.j = row;
    s.x = (s.i - s.sir / 2) / (s.sir / (2 * s.polx));
    s.y = (s.vis / 2 - s.j) / (s.vis / (2 * s.poly));
}

void markStale(WindowState& s)
{
    s.r = s.fi = s.re = s.gr = s.bl = s.ba = s.pozic = kStale;
    s.barva = kStaleColour;
}

TEST(DrawPixel_IndependentValues, MatchesValuesWorkedOutSeparately)
{
    // Worked out with Python's math module (same double arithmetic, same order, floor for
    // Int, the clamp to 0..675) from the parameters of setParameters and the grid mapping.
    struct Row {
        int tip, barv, i, j;
        double r, fi, re, gr, bl, ba;
        int pozic;
    };
    const Row rows[] = {
        {1, 1, 300, 120, 1.7041649065280366, 0.9934538085012817, 8.018632054800381, 13.757869715271081, 44, 65.77650177007146, 30},
        {1, 1, 266, 240, 0.5056836436406669, -0.288974846458959, 200.0016539936927, 251.47000090731993, 146, 597.4716549010127, 295},
        {2, 1, 300, 120, 1.7041649065280366, 0.9934538085012817, 148.06839354814886, 2.267371489182214, 44, 194.33576503733107, 95},
        {2, 1, 241, 223, 0.1757608017248743, 0.46364506456931, 223.11202288928396, -134.17777564293738, 37, 125.93424724634659, 60},
        {3, 1, 150, 400, 2.467685550882133, 1.1380181367673228, 230.95807706421013, 88.13821675608895, 209, 528.096293820299, 260},
        {3, 1, 400, 300, 2.4255981218136666, -0.39354459748503906, 227.01898860022223, 218.02101103684527, 221, 666.0399996370675, 330},
        {4, 1, 300, 120, 1.7041649065280366, 0.9934538085012817, 158, 13.757869715271081, 65, 236.75786971527108, 115},
        {4, 1, 266, 240, 0.5056836436406669, -0.288974846458959, -35, 251.47000090731993, 55, 271.4700009073199, 135},
        {4, 1, 60, 200, 2.2463333713634324, -0.16994257983629177, -206, 1.9511427435208109, 19, 0, 0},
        {1, 2, 150, 400, 2.467685550882133, 1.1380181367673228, 4.771751994355876, 88.13821675608895, 209, 297.8140197203262, 145},
        {1, 2, 266, 240, 0.5056836436406669, -0.288974846458959, 200.0016539936927, 251.47000090731993, 146, 333.9828688390369, 165},
        {3, 3, 300, 120, 1.7041649065280366, 0.9934538085012817, 159.49789456412967, 13.757869715271081, 44, 188.17765238505604, 90},
        {3, 3, 266, 240, 0.5056836436406669, -0.288974846458959, 47.328445837161745, 251.47000090731993, 146, 368.0038039180043, 180},
        {4, 4, 241, 223, 0.1757608017248743, 0.46364506456931, -9, 65.7591931768555, 44, 135.7591931768555, 65},
        {4, 4, 150, 400, 2.467685550882133, 1.1380181367673228, 72, 88.13821675608895, 340, 675, 335},
        {1, 5, 60, 200, 2.2463333713634324, -0.16994257983629177, 235.88696880673874, 1.9511427435208109, 11, 301.44814204780585, 150},
        {2, 5, 266, 240, 0.5056836436406669, -0.288974846458959, 171.5597288208021, -248.6511523040141, 146, 0, 0},
        {2, 5, 150, 400, 2.467685550882133, 1.1380181367673228, 209.83570710496954, 40.46911467219412, 209, 620.3227238179923, 310},
    };
    const Surface strip = makeStrip(stripColour);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "tip " << row.tip << " barv " << row.barv << " at "
                                        << row.i << "," << row.j);
        WindowState s;
        setParameters(s, row.tip, row.barv);
        placeAt(s, row.i, row.j);
        Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
        ASSERT_TRUE(DrawPixel(s, strip, picture));
        EXPECT_EQ(s.r, row.r);
        EXPECT_EQ(s.fi, row.fi);
        EXPECT_EQ(s.re, row.re);
        EXPECT_EQ(s.gr, row.gr);
        EXPECT_EQ(s.bl, row.bl);
        EXPECT_EQ(s.ba, row.ba);
        EXPECT_EQ(s.pozic, row.pozic);
        EXPECT_EQ(s.barva, stripColour(row.pozic + 10, 10));
        EXPECT_EQ(picture.Point(row.i, row.j), s.barva);
    }
}

TEST(DrawPixel_Centre, PixelHasNoRadiusNorAngleAndTip2LeavesItUnpainted)
{
    const Surface strip = makeStrip(stripColour);
    for (double tip : {1.0, 2.0, 3.0, 4.0}) {
        SCOPED_TRACE(testing::Message() << "tip " << tip);
        WindowState s;
        setParameters(s, tip, 1);
        placeAt(s, 229, 229);
        markStale(s);
        Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
        const bool painted = DrawPixel(s, strip, picture);
        EXPECT_EQ(s.r, 0);
        EXPECT_EQ(s.fi, 0);
        if (tip == 2) {
            // ln(2 sin 0) has no value: re = komp1 (sin 0 + 1) is set, nothing after it.
            EXPECT_FALSE(painted);
            EXPECT_EQ(s.re, 123);
            EXPECT_EQ(s.gr, kStale);
            EXPECT_EQ(s.ba, kStale);
            EXPECT_EQ(s.barva, kStaleColour);
            EXPECT_EQ(picture.Point(229, 229), kUntouched);
        } else {
            EXPECT_TRUE(painted);
            EXPECT_EQ(picture.Point(229, 229), s.barva);
        }
    }
}

TEST(DrawPixel_CentreColumn, AngleIsNearAQuarterTurnWithTheSignOfY)
{
    WindowState s;
    setParameters(s, 1, 1);
    const Surface strip = makeStrip(stripColour);
    Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
    for (int row : {0, 100, 150, 320, 400, 452}) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        placeAt(s, 229, row);
        ASSERT_EQ(s.x, 0);
        ASSERT_GE(std::abs(s.y), 1); // arctan(y / 0.000001) is within 0.000001 / |y| of it
        EXPECT_TRUE(DrawPixel(s, strip, picture));
        EXPECT_EQ(std::signbit(s.fi), std::signbit(s.y));
        EXPECT_LT(std::numbers::pi / 2 - std::abs(s.fi), 1e-6);
        EXPECT_GT(std::numbers::pi / 2 - std::abs(s.fi), 0);
    }
    // Worked out with Python's math module: atan(1.5 / (0 + 0.000001)).
    s.x = 0;
    s.y = -1.5;
    EXPECT_TRUE(DrawPixel(s, strip, picture));
    EXPECT_EQ(s.fi, -1.57079566012823);
}

TEST(DrawPixel_HalfTurn, OppositePixelsGetTheSameColour)
{
    // A grid checked beforehand (Python, same arithmetic) to keep clear of the edges of a
    // strip column, where the 0.000001 offset could tip the colour. n4 = 0.83 puts some
    // of these pixels on tip 2's unpainted rings, which must then be unpainted on both.
    const Surface strip = makeStrip(stripColour);
    for (int tip = 1; tip <= 4; ++tip) {
        for (int barv = 1; barv <= 5; ++barv) {
            SCOPED_TRACE(testing::Message() << "tip " << tip << " barv " << barv);
            WindowState s;
            setParameters(s, tip, barv);
            s.n4 = 0.83;
            Surface picture(459, 459, kUntouched);
            for (int i = 5; i < 458; i += 37) {
                for (int j = 7; j < 458; j += 41) {
                    SCOPED_TRACE(testing::Message() << i << "," << j);
                    placeAt(s, i, j);
                    const bool painted = DrawPixel(s, strip, picture);
                    const double r = s.r;
                    const double fi = s.fi;
                    placeAt(s, 458 - i, 458 - j);
                    EXPECT_EQ(DrawPixel(s, strip, picture), painted);
                    EXPECT_EQ(s.r, r);
                    EXPECT_NEAR(s.fi, fi, 2e-5);
                    EXPECT_EQ(picture.Point(458 - i, 458 - j), picture.Point(i, j));
                }
            }
        }
    }
}

TEST(PaintPixel_Clamp, HoldsPaletteToItsRangeAndStepsFiveColumnsPerTen)
{
    struct Row {
        double ba, clamped;
        int pozic;
    };
    const Row rows[] = {
        {675.4, 675, 335}, {675, 675, 335}, {1e300, 675, 335}, {-3, 0, 0}, {0, 0, 0},
        {9.99, 9.99, 0}, {10, 10, 5}, {19.99, 19.99, 5}, {20, 20, 10}, {674.9, 674.9, 335},
        {-0.001, 0, 0}, {-std::numeric_limits<double>::infinity(), 0, 0},
    };
    const Surface strip = makeStrip(stripColour);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "ba " << row.ba);
        WindowState s;
        s.i = 17;
        s.j = 452;
        s.ba = row.ba;
        Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
        EXPECT_TRUE(PaintPixel(s, strip, picture));
        EXPECT_EQ(s.ba, row.clamped);
        EXPECT_EQ(s.pozic, row.pozic);
        EXPECT_EQ(s.barva, stripColour(row.pozic + 10, 10));
        EXPECT_EQ(picture.Point(17, 452), s.barva);
    }
}

TEST(PaintPixel_Positions, ClipsOutsideThePictureAndFailsWithoutAStripColour)
{
    const Surface strip = makeStrip(stripColour);
    for (auto [i, j] : {std::pair{453.0, 0.0}, {0.0, 458.0}, {-1.0, 5.0}, {1e12, 1.0}}) {
        SCOPED_TRACE(testing::Message() << i << "," << j);
        WindowState s;
        s.i = i;
        s.j = j;
        s.ba = 100;
        Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
        const QImage before = picture.image();
        EXPECT_TRUE(PaintPixel(s, strip, picture)); // the picture clips it; not a failure
        EXPECT_EQ(s.barva, stripColour(60, 10));
        EXPECT_EQ(picture.image(), before);
    }
    // A strip too narrow for column 345 has no colour there: barva and the picture stay.
    const Surface narrow = makeStrip(stripColour, 300, kStripHeightPx);
    WindowState s;
    s.ba = 675;
    s.barva = kStaleColour;
    Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
    EXPECT_FALSE(PaintPixel(s, narrow, picture));
    EXPECT_EQ(s.pozic, 335);
    EXPECT_EQ(s.barva, kStaleColour);
    EXPECT_EQ(picture.Point(0, 0), kUntouched);
    // ba that is not a number survives both clamps and fails at pozic.
    s.ba = std::numeric_limits<double>::quiet_NaN();
    s.pozic = kStale;
    EXPECT_FALSE(PaintPixel(s, strip, picture));
    EXPECT_EQ(s.pozic, kStale);
}

TEST(PaintPixel_Positions, RoundsAFractionalPositionHalfToEven)
{
    // The driver passes whole numbers; anything else is rounded like every conversion of
    // a number to a pixel: 2.5 -> 2, 3.5 -> 4, 6.4999 -> 6, -0.4 -> 0.
    const Surface strip = makeStrip(stripColour);
    struct Row {
        double i, j;
        int column, row;
    };
    for (const Row& pos : {Row{2.5, 3.5, 2, 4}, Row{6.4999, 7.5001, 6, 8}, Row{-0.4, 450.5, 0, 450}}) {
        SCOPED_TRACE(testing::Message() << pos.i << "," << pos.j);
        WindowState s;
        s.i = pos.i;
        s.j = pos.j;
        s.ba = 100;
        Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
        EXPECT_TRUE(PaintPixel(s, strip, picture));
        EXPECT_EQ(picture.Point(pos.column, pos.row), stripColour(60, 10));
    }
}

TEST(ComputeChannels_Tip4, FloorsANegativeProductAwayFromZero)
{
    // Worked out with Python: r sqrt(2), fi = atan(-1 / 1.000001) = -0.7853976633976983,
    // r * 0.5 * 1 * sin(fi) = -0.4999997500000626, whose floor is -1 (truncation gives 0).
    WindowState s;
    setParameters(s, 4, 1);
    s.n1 = 0.5;
    s.n3 = 1;
    s.f2 = 1;
    s.x = 1;
    s.y = -1;
    const Surface strip = makeStrip(stripColour);
    Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
    EXPECT_TRUE(DrawPixel(s, strip, picture));
    EXPECT_EQ(s.fi, -0.7853976633976983);
    EXPECT_EQ(s.re, -1);
}

TEST(ComputeChannels_Tip2, NegativeLogPaintsAndNoLogAbandonsAfterRe)
{
    const Surface strip = makeStrip(stripColour);
    WindowState s;
    setParameters(s, 2, 1);
    Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);

    // 2 sin(0.37 r) = 0.13 here (Python): the logarithm and gr are negative, still painted.
    placeAt(s, 241, 223);
    EXPECT_TRUE(DrawPixel(s, strip, picture));
    EXPECT_LT(s.gr, 0);
    EXPECT_EQ(picture.Point(241, 223), s.barva);

    // With n4 = 1.5, 2 sin(n4 r) = -1.0622633904329972 here (Python): abandoned after re,
    // whose value 209.83570710496954 = 123 (sin(n3 r) + 1) was worked out there too.
    const WindowState before = s;
    s.n4 = 1.5;
    placeAt(s, 150, 400);
    EXPECT_FALSE(DrawPixel(s, strip, picture));
    EXPECT_EQ(s.r, 2.467685550882133);
    EXPECT_EQ(s.re, 209.83570710496954);
    EXPECT_EQ(s.gr, before.gr);
    EXPECT_EQ(s.bl, before.bl);
    EXPECT_EQ(s.ba, before.ba);
    EXPECT_EQ(s.pozic, before.pozic);
    EXPECT_EQ(s.barva, before.barva);
    EXPECT_EQ(picture.Point(150, 400), kUntouched);
}

// Runs one pixel and answers the state it leaves, for comparing formula rows.
WindowState runPixel(double tip, double barv, bool* painted = nullptr)
{
    WindowState s;
    setParameters(s, tip, barv);
    markStale(s);
    placeAt(s, 300, 120);
    const Surface strip = makeStrip(stripColour);
    Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
    const bool ok = DrawPixel(s, strip, picture);
    if (painted)
        *painted = ok;
    return s;
}

TEST(FormulaRows_Selection, RoundsHalfToEvenAndSendsOtherBytesToRowOne)
{
    // At this pixel every tip and every barv gives a different ba (checked in Python).
    struct Row {
        double tip, barv, sameAsTip, sameAsBarv;
    };
    const Row rows[] = {
        {0, 1, 1, 1}, {5, 1, 1, 1}, {255, 1, 1, 1}, {0.4, 1, 1, 1}, {-0.4, 1, 1, 1},
        {-0.5, 1, 1, 1}, {1.5, 1, 2, 1}, {2.5, 1, 2, 1}, {3.5, 1, 4, 1}, {4.5, 1, 4, 1},
        {1, 0, 1, 1}, {1, 6, 1, 1}, {1, 255, 1, 1}, {1, 5.5, 1, 1}, {1, 2.5, 1, 2},
        {1, 4.5, 1, 4}, {3, 3.49, 3, 3}, {4, 254.5, 4, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "tip " << row.tip << " barv " << row.barv);
        const WindowState got = runPixel(row.tip, row.barv);
        const WindowState want = runPixel(row.sameAsTip, row.sameAsBarv);
        EXPECT_EQ(got.re, want.re);
        EXPECT_EQ(got.gr, want.gr);
        EXPECT_EQ(got.bl, want.bl);
        EXPECT_EQ(got.ba, want.ba);
        EXPECT_EQ(got.barva, want.barva);
    }
}

TEST(FormulaRows_Selection, ValuesOutsideAByteFailThePixel)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {-0.6, -1.0, 255.5, 256.0, 1e10, nan, inf}) {
        SCOPED_TRACE(testing::Message() << bad);
        bool painted = true;
        WindowState s = runPixel(bad, 1, &painted);
        EXPECT_FALSE(painted);
        EXPECT_NE(s.fi, kStale);
        EXPECT_EQ(s.re, kStale);

        s = runPixel(1, bad, &painted);
        EXPECT_FALSE(painted);
        EXPECT_NE(s.bl, kStale);
        EXPECT_EQ(s.ba, kStale);
        EXPECT_EQ(s.barva, kStaleColour);
    }
}

TEST(DrawPixel_Failures, StopAtTheFailingStepAndLeaveThePicture)
{
    // Which variables a failing pixel assigns, in the order r, fi, re, gr, bl, ba, pozic,
    // barva: the first `assigned` of them, none after.
    struct Row {
        const char* name;
        void (*setUp)(WindowState&);
        int assigned;
    };
    const Row rows[] = {
        {"division by zero", [](WindowState& s) { s.x = -0.000001; s.y = 1; }, 1},
        {"zero by zero", [](WindowState& s) { s.x = -0.000001; s.y = 0; }, 1},
        {"radius overflows", [](WindowState& s) { s.x = 1e200; }, 0},
        {"x not a number", [](WindowState& s) { s.x = std::numeric_limits<double>::quiet_NaN(); }, 0},
        // komp1 (sin(n1 r) + 1) = 1e308 * 1.1 stays finite; 2 (re + bl) overflows (Python).
        {"ba overflows", [](WindowState& s) { s.komp1 = 1e308; s.barv = 4; }, 5},
        {"re overflows", [](WindowState& s) { s.komp1 = std::numeric_limits<double>::max(); }, 2},
        {"gr invalid", [](WindowState& s) { s.n2 = std::numeric_limits<double>::infinity(); }, 3},
        {"ba divides by zero", [](WindowState& s) { s.baf01 = 0; s.barv = 2; }, 5},
    };
    const Surface strip = makeStrip(stripColour);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WindowState s;
        setParameters(s, 1, 1);
        markStale(s);
        placeAt(s, 241, 223);
        row.setUp(s);
        Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
        EXPECT_FALSE(DrawPixel(s, strip, picture));
        const double values[] = {s.r, s.fi, s.re, s.gr, s.bl, s.ba, s.pozic};
        for (int k = 0; k < 7; ++k) {
            SCOPED_TRACE(testing::Message() << "variable " << k);
            if (k < row.assigned)
                EXPECT_NE(values[k], kStale);
            else
                EXPECT_EQ(values[k], kStale);
        }
        EXPECT_EQ(s.barva, kStaleColour);
        EXPECT_EQ(picture.Point(241, 223), kUntouched);
    }
    // Worked out with Python: sqrt(0.000001^2 + 1) = 1.0000000000005.
    WindowState s;
    setParameters(s, 1, 1);
    s.x = -0.000001;
    s.y = 1;
    Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
    EXPECT_FALSE(DrawPixel(s, strip, picture));
    EXPECT_EQ(s.r, 1.0000000000005);
}

TEST(DrawPixel_NewStrip, RepaintsTheSameColumnsInTheNewColours)
{
    const Surface oldStrip = makeStrip(stripColour);
    const Surface newStrip = makeStrip(newStripColour);
    WindowState s;
    setParameters(s, 4, 4);
    Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
    std::set<int> columnsSeen;
    for (const Surface* strip : {&oldStrip, &newStrip}) {
        for (int i = 0; i < kPictureSizePx; i += 9)
            for (int j = 0; j < kPictureSizePx; j += 11) {
                placeAt(s, i, j);
                const Colour before = picture.Point(i, j);
                ASSERT_TRUE(DrawPixel(s, *strip, picture));
                if (strip == &newStrip) {
                    // The old colour names the column it came from; the new one must be
                    // that column of the new strip.
                    const int column = before % 1024;
                    EXPECT_EQ(before, stripColour(column, 10));
                    EXPECT_EQ(picture.Point(i, j), newStripColour(column, 10));
                    columnsSeen.insert(column);
                }
            }
    }
    // This grid reaches all 68 sampled columns, 10 to 345 (counted in Python).
    EXPECT_EQ(columnsSeen.size(), 68u);
}

} // namespace
} // namespace mandalix

namespace mandalix {
namespace {

// The steps one by one leave exactly the state that DrawPixel leaves, for every formula
// set and palette formula.
TEST(PipelineSteps_OneByOne, ComeToWhatDrawPixelComesTo)
{
    for (int tip = 1; tip <= 4; ++tip) {
        for (int barv = 1; barv <= 5; ++barv) {
            SCOPED_TRACE(testing::Message() << "tip " << tip << ", barv " << barv);
            bool painted = false;
            const WindowState whole = runPixel(tip, barv, &painted);
            ASSERT_TRUE(painted);

            WindowState s;
            setParameters(s, tip, barv);
            markStale(s);
            placeAt(s, 300, 120);
            s.r = whole.r;
            s.fi = whole.fi;
            ASSERT_TRUE(ComputeChannels(s));
            EXPECT_EQ(s.ba, whole.ba) << "ComputeChannels ends with the palette position";
            s.ba = kStale;
            ASSERT_TRUE(ComputePalettePosition(s));
            const Surface strip = makeStrip(stripColour);
            Surface picture(kPictureSizePx, kPictureSizePx, kUntouched);
            ASSERT_TRUE(PaintPixel(s, strip, picture));
            EXPECT_EQ(s, whole);
        }
    }
}

} // namespace
} // namespace mandalix
