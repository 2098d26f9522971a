// Angular terms kept from one painting to the next: a sequence of pictures painted through
// one FrameAngles is, picture for picture, what the engine paints without it, whichever
// of the pixel's inputs changes between two paintings (the terms kept must then be
// worked out again) and whichever it keeps.
#include "generator/frame_angles.h"

#include "generator/frame_engine.h"
#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
#include "palette/strip_colours.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

PictureRecord recordWith(double tip, double barv)
{
    PictureRecord record;
    Rnd rnd(2024.5f);
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    record.picture.tip = tip;
    record.picture.barv = barv;
    record.picture.n4 = 0.85; // formula set 2's corners fail
    return record;
}

QImage paintedWith(const PictureRecord& record, QSize size, FrameAngles* angles)
{
    return FrameEngine(frameStateOf(record), frameColourTable(record)).paint(size, 2, {}, nullptr, angles);
}

TEST(FrameAngles, ASequenceKeepingTheAnglesIsTheEnginesPictures)
{
    const QSize wide(320, 180);
    struct Step {
        const char* what;
        PictureRecord record;
        QSize size;
        bool isKept; // whether the terms are kept after this painting
    };
    std::vector<Step> steps;
    const auto then = [&](const char* what, auto change, QSize size = QSize(320, 180), bool isKept = true) {
        PictureRecord record = steps.empty() ? recordWith(1, 2) : steps.back().record;
        change(record);
        steps.push_back({what, record, size, isKept});
    };
    then("first", [](PictureRecord&) {});
    then("n1, n2, komp1, komp2 and the palette moved", [](PictureRecord& r) {
        r.picture.n1 *= 1.01;
        r.picture.n2 *= 0.98;
        r.picture.komp1 += 3;
        r.picture.komp2 -= 5;
        r.palette.phase[0] += 0.5;
    });
    then("barv changed, the angles not", [](PictureRecord& r) { r.picture.barv = 5; });
    then("f1 changed", [](PictureRecord& r) { r.picture.f1 += 2; });
    then("komp3 changed", [](PictureRecord& r) { r.picture.komp3 += 7; });
    then("formula set 4 keeps sines", [](PictureRecord& r) { r.picture.tip = 4; r.picture.barv = 3; });
    then("komp3 again, which the sines do not depend on", [](PictureRecord& r) { r.picture.komp3 += 7; });
    then("f2 changed", [](PictureRecord& r) { r.picture.f2 += 2; });
    then("zoomed in: other coordinates", [](PictureRecord& r) { r.view = kStartView / 2; r.picture.tip = 2; });
    then("another size", [](PictureRecord&) {}, QSize(180, 320));
    then("a bl too large to keep", [](PictureRecord& r) { r.picture.tip = 1; r.picture.komp3 = 1e6; }, QSize(180, 320), false);
    then("back to a small komp3", [](PictureRecord& r) { r.picture.komp3 = 60; }, QSize(180, 320));

    FrameAngles angles(qsizetype(8) << 20);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const QImage kept = paintedWith(step.record, step.size, &angles);
        EXPECT_EQ(kept, paintedWith(step.record, step.size, nullptr));
        // Painted again from the terms just kept.
        EXPECT_EQ(paintedWith(step.record, step.size, &angles), kept);
        const bool hasSines = step.record.picture.tip == 4;
        const qsizetype pixels = qsizetype(step.size.width()) * step.size.height();
        EXPECT_EQ(angles.bytes(), step.isKept ? FrameAngles::bytesFor(pixels, hasSines) : 0);
    }

    // Over the budget nothing is kept, and the picture is the same.
    FrameAngles tight(FrameAngles::bytesFor(qsizetype(wide.width()) * wide.height(), false) - 1);
    EXPECT_EQ(paintedWith(steps[0].record, wide, &tight), paintedWith(steps[0].record, wide, nullptr));
    EXPECT_EQ(tight.bytes(), 0);
}

} // namespace
} // namespace mandalix
