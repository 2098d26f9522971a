// The frame engine against the window's own painting: a record painted at 453 x 453 is
// the window's Picture1 pixel for pixel, failed exactly where DrawPixel fails, for every
// formula set and colour rule and a zoomed view; a cancel ends the painting with no picture.
#include "generator/frame_engine.h"

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
#include "palette/strip_colours.h"
#include "program/picture_replay.h"
#include "program/surfaces.h"

#include <gtest/gtest.h>

#include <memory>

namespace mandalix {
namespace {

PictureRecord recordWith(float seed, double tip, double barv)
{
    PictureRecord record;
    record.seed = seed;
    record.nac = 1;
    Rnd rnd(seed);
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    record.picture.tip = tip;
    record.picture.barv = barv;
    // Under formula set 2 the corners beyond n4 * r = pi fail.
    record.picture.n4 = 0.85;
    return record;
}

// Pixels where the engine and the window's painting disagree: a failed pixel must have
// kept Picture1's back colour, any other the table's colour of its index. Sets
// `failed` to the engine's failed pixels.
int differencesFromWindow(const PictureRecord& record, int& failed)
{
    auto surfaces = std::make_unique<Surfaces>();
    WindowState s;
    setStartUpDefaults(s, record.nac);
    Rnd rnd;
    EXPECT_TRUE(paintRecordedPicture(s, *surfaces, rnd, record, noPacing()));
    const QImage window = surfaces->Picture1.image();

    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    const QImage frame = engine.paint(QSize(kPictureSizePx, kPictureSizePx), 2);
    EXPECT_EQ(frame.format(), QImage::Format_Indexed8);
    int different = 0;
    failed = 0;
    for (int y = 0; y < kPictureSizePx; ++y) {
        const uchar* indices = frame.constScanLine(y);
        for (int x = 0; x < kPictureSizePx; ++x) {
            const bool isFailed = indices[x] == kFailedIndex;
            failed += isFailed;
            const QRgb expected = isFailed ? toArgb(kPictureBackColour) : frame.colorTable()[indices[x]];
            different += window.pixel(x, y) != expected;
        }
    }
    return different;
}

TEST(FrameEngine_Window, EveryTipAndBarvIsTheWindowsPictureAndFailsWhereItFails)
{
    int anyFailed = 0;
    for (int tip = 1; tip <= 4; ++tip) {
        for (int barv = 1; barv <= 5; ++barv) {
            SCOPED_TRACE(tip * 10 + barv);
            int failed = 0;
            EXPECT_EQ(differencesFromWindow(recordWith(1000.5f * tip + 37.25f * barv, tip, barv), failed), 0);
            EXPECT_LT(failed, kPictureSizePx * kPictureSizePx);
            anyFailed += failed;
        }
    }
    EXPECT_GT(anyFailed, 0) << "the failing corners of formula set 2 are checked too";

    // Recoloured: the window recolours its pixels, the engine its table.
    PictureRecord recoloured = recordWith(5555.0f, 3, 2);
    recoloured.replacements = {{stripColours(recoloured.palette)[7], 0x123456}};
    int failed = 0;
    EXPECT_EQ(differencesFromWindow(recoloured, failed), 0);

    // Zoomed in, both paint the record's view: twice the size, so grid position 229 + 2k
    // of the half view shows what 229 + k of the whole shows, to the bit.
    PictureRecord zoomed = recordWith(4321.0f, 4, 3);
    zoomed.view = kStartView / 2;
    EXPECT_EQ(differencesFromWindow(zoomed, failed), 0);
    const QSize window(kPictureSizePx, kPictureSizePx);
    const QImage half = FrameEngine(frameStateOf(zoomed), frameColourTable(zoomed)).paint(window, 2);
    zoomed.view = kStartView;
    const QImage whole = FrameEngine(frameStateOf(zoomed), frameColourTable(zoomed)).paint(window, 2);
    int unlike = 0;
    for (int m = -114; m <= 111; ++m)
        for (int k = -114; k <= 111; ++k)
            unlike += half.pixelIndex(229 + 2 * k, 229 + 2 * m) != whole.pixelIndex(229 + k, 229 + m);
    EXPECT_EQ(unlike, 0);
    EXPECT_NE(half, whole);

    // A formula set out of range fails every pixel.
    EXPECT_EQ(differencesFromWindow(recordWith(77.0f, 300, 1), failed), 0);
    EXPECT_EQ(failed, kPictureSizePx * kPictureSizePx);
}

TEST(FrameEngine_Cancel, ASetFlagEndsWithNoPicture)
{
    const PictureRecord record = recordWith(321.0f, 4, 5);
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    std::atomic<bool> cancel{false};
    EXPECT_FALSE(engine.paint(QSize(640, 480), 2, {}, &cancel).isNull());
    cancel.store(true);
    EXPECT_TRUE(engine.paint(QSize(640, 480), 2, {}, &cancel).isNull());
}

} // namespace
} // namespace mandalix
