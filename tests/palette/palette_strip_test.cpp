#include "palette/palette_strip.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mandalix {
namespace {

constexpr Colour kUntouched = 0x123456;

TEST(DrawPalette_Strip, ColumnsAreUniformAndNoChannelExceeds252)
{
    for (float seed : {0.0f, 1.5f, 30000.25f, 86399.0f}) {
        SCOPED_TRACE(seed);
        WindowState s;
        Surface strip(541, 21, kUntouched);
        Rnd rnd(seed);
        DrawPalette(s, strip, rnd);
        for (int x = 0; x < strip.width(); ++x) {
            const Colour top = strip.Point(x, 0);
            ASSERT_NE(top, kUntouched) << "column " << x;
            EXPECT_LE(redOf(top), 252);
            EXPECT_LE(greenOf(top), 252);
            EXPECT_LE(blueOf(top), 252);
            for (int y = 1; y < strip.height(); ++y)
                ASSERT_EQ(strip.Point(x, y), top) << "column " << x << " row " << y;
        }
    }
}

TEST(DrawPalette_Strip, PaintsColumns0To541AndRows0To21Only)
{
    WindowState s;
    Surface wide(560, 30, kUntouched);
    Rnd rnd(7.0f);
    DrawPalette(s, wide, rnd);
    for (int y = 0; y <= 21; ++y) {
        EXPECT_NE(wide.Point(541, y), kUntouched) << "the strip has 542 columns";
        EXPECT_EQ(wide.Point(542, y), kUntouched);
    }
    for (int x = 0; x < wide.width(); ++x)
        EXPECT_EQ(wide.Point(x, 22), kUntouched) << "column " << x;
}

TEST(DrawPalette_Waves, DrawsPeriodsThenPhasesThenWavelengthsInRange)
{
    Rnd rnd(555.5f);
    Rnd copy = rnd;
    const PaletteWaves waves = drawPaletteWaves(rnd);
    double draws[9];
    for (double& d : draws)
        d = copy.next();
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(waves.period[c], std::floor(draws[c] * 20 + 20));
        EXPECT_GE(waves.period[c], 20);
        EXPECT_LE(waves.period[c], 39);
        EXPECT_EQ(waves.phase[c], draws[3 + c] * 6.28);
        // The wavelength is held in single precision and lies in [period, 2 * period].
        EXPECT_EQ(waves.wavelength[c], static_cast<double>(static_cast<float>(waves.wavelength[c])));
        EXPECT_NEAR(waves.wavelength[c], waves.period[c] * draws[6 + c] + waves.period[c], 1e-5);
    }
}

TEST(DrawPalette_Draws, ConsumesExactlyNineNumbers)
{
    WindowState s;
    Surface strip(541, 21, 0);
    Rnd rnd(100.0f);
    Rnd reference(100.0f);
    DrawPalette(s, strip, rnd);
    for (int k = 0; k < 9; ++k)
        reference.next();
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(rnd.next(), reference.next());
}

TEST(DrawPalette_Strip, ColumnZeroDependsOnlyOnThePhase)
{
    PaletteWaves a;
    a.period = {20, 30, 39};
    a.phase = {0.0, 1.0, 4.5};
    a.wavelength = {20.0, 45.5, 77.0};
    PaletteWaves b = a;
    b.period = {25, 21, 33};
    b.wavelength = {31.0, 22.25, 60.0};

    WindowState s;
    Surface stripA(541, 21, 0);
    Surface stripB(541, 21, 0);
    paintPaletteStrip(a, s, stripA);
    paintPaletteStrip(b, s, stripB);
    EXPECT_EQ(stripA.Point(0, 10), stripB.Point(0, 10));
    EXPECT_NE(stripA.Point(100, 10), stripB.Point(100, 10));
    // (sin(0) + 1) * 126 = 126; (sin(1) + 1) * 126 = 232.02; (sin(4.5) + 1) * 126 = 2.97.
    EXPECT_EQ(stripA.Point(0, 10), rgbColour(126, 232, 3));
}

TEST(DrawPalette_Strip, LeavesTheLastColumnsChannelsInTheState)
{
    PaletteWaves w;
    w.period = {20, 20, 20};
    w.phase = {0.5, 1.5, 2.5};
    w.wavelength = {20, 40, 60};
    WindowState s;
    Surface strip(541, 21, 0);
    paintPaletteStrip(w, s, strip);
    // Column 541: (sin(fl(541 / wl) + phase) + 1) * 126, worked out with Python.
    EXPECT_NEAR(s.re, (std::sin(27.05 + 0.5) + 1) * 126, 1e-4);
    EXPECT_NEAR(s.gr, (std::sin(13.525 + 1.5) + 1) * 126, 1e-4);
    EXPECT_NEAR(s.bl, (std::sin(9.016666 + 2.5) + 1) * 126, 1e-3);
}

TEST(DrawPalette_Strip, TwoCallsGiveDifferentStrips)
{
    WindowState s;
    Surface strip(541, 21, 0);
    Rnd rnd(9.0f);
    DrawPalette(s, strip, rnd);
    const QImage first = strip.image();
    DrawPalette(s, strip, rnd);
    EXPECT_NE(strip.image(), first);
}

} // namespace
} // namespace mandalix
