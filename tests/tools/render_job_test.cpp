#include "render_job.h"

#include "generator/picture_parameters.h"
#include "program/program.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

const QDate kDay(2026, 12, 7);

RenderRequest seeded(float seed, std::optional<int> type = {}, int scale = 1)
{
    RenderRequest request;
    request.seed = seed;
    request.moment = momentOfSeed(kDay, seed);
    request.type = type;
    request.scale = scale;
    request.threads = 2;
    return request;
}

RenderRequest replay(const PictureRecord& record, std::optional<int> type = {})
{
    RenderRequest request;
    request.recorded = record;
    request.type = type;
    return request;
}

// A seed whose picture draws formula set 2 with rings that fail, so that the noise of
// type 4 shows through: a picture painted again must have the same noise there.
float seedWithFailingRings()
{
    for (float seed = 100.0f;; seed += 1.0f) {
        Rnd rnd(seed);
        WindowState s;
        drawPictureParameters(s, rnd);
        if (s.tip == 2 && s.n4 > 0.8)
            return seed;
    }
}

TEST(RenderPicture_Window, ScaleOneIsThePictureTheWindowPaintsAtStartUp)
{
    FixedClock clock(momentOfSeed(kDay, 72182.25f));
    Program window(clock, Drives{});
    StartUp(window, noPacing());

    const RenderedPicture rendered = renderPicture(seeded(72182.25f), noPacing());
    EXPECT_EQ(rendered.picture, window.surfaces.Picture1.image());
    EXPECT_EQ(rendered.strip, window.surfaces.Picture3.image());
    EXPECT_EQ(rendered.record.imeslike, "T20261207200302");
    EXPECT_EQ(rendered.record.seed, 72182.25f);
    EXPECT_EQ(rendered.record.nac, 4);
    EXPECT_EQ(rendered.record, window.picture);
    EXPECT_EQ(rendered.record.picture, parametersOf(window.state));
}

TEST(RenderPicture_Window, TheWindowsRecordPaintsItsPictureWhereverThePipelinePainted)
{
    FixedClock clock(momentOfSeed(kDay, seedWithFailingRings()));
    Program window(clock, Drives{});
    StartUp(window, noPacing());
    window.state.nac = 1;
    clock.set(clock.now().addSecs(1));
    // A repeat keeps the parameters with failing rings, and its random draws start at once.
    (void)runCommand(window, cmd::RepeatImage{}, noPacing());
    (void)runCommand(window, cmd::ReplaceColour{200, 300}, noPacing());
    ASSERT_EQ(window.picture.replacements.size(), 1u);

    const QImage rendered = renderPicture(replay(window.picture), noPacing()).picture;
    const QImage shown = window.surfaces.Picture1.image();
    int failed = 0;
    for (int y = 0; y < rendered.height(); ++y) {
        for (int x = 0; x < rendered.width(); ++x) {
            // The fresh picture box's colour is no strip colour: the pipeline failed there,
            // and the window still shows the picture before.
            if (rendered.pixel(x, y) == toArgb(kPictureBackColour))
                ++failed;
            else
                ASSERT_EQ(rendered.pixel(x, y), shown.pixel(x, y)) << x << ", " << y;
        }
    }
    EXPECT_GT(failed, 0) << "the seed paints failing rings";
}

TEST(RenderPicture_Replay, ARecordPaintsTheIdenticalPictureInEveryType)
{
    const float seed = seedWithFailingRings();
    for (int type = 1; type <= 4; ++type) {
        SCOPED_TRACE(type);
        const RenderedPicture original = renderPicture(seeded(seed, type), noPacing());
        const RenderedPicture again = renderPicture(replay(original.record), noPacing());
        EXPECT_EQ(again.picture, original.picture);
        EXPECT_EQ(again.strip, original.strip);
        EXPECT_EQ(again.record, original.record);
    }
}

TEST(RenderPicture_Replay, TheTypeOverridesTheRecordedOne)
{
    const float seed = seedWithFailingRings();
    const RenderedPicture original = renderPicture(seeded(seed, 4), noPacing());
    const RenderedPicture asType1 = renderPicture(replay(original.record, 1), noPacing());
    EXPECT_EQ(asType1.record.nac, 1);
    EXPECT_EQ(asType1.record.picture, original.record.picture);
    // Failed pixels keep the fresh picture box's colour instead of noise.
    EXPECT_NE(asType1.picture, original.picture);
    EXPECT_EQ(asType1.picture, renderPicture(seeded(seed, 1), noPacing()).picture);
}

TEST(RenderPicture_Replay, RecordedValuesOutsideTheDrawnRangesArePainted)
{
    PictureRecord record = renderPicture(seeded(500.5f), noPacing()).record;
    record.picture.n1 = -1e6;
    record.picture.baf01 = 0;
    record.palette.wavelength = {0, 1e-300, -20};
    const RenderedPicture painted = renderPicture(replay(record, 1), noPacing());
    EXPECT_EQ(painted.picture.size(), QSize(453, 453));
    // A wave of length zero has no value anywhere: its channel is 0 all along the strip.
    int redColumns = 0;
    for (int x = 0; x < painted.strip.width(); ++x)
        redColumns += qRed(painted.strip.pixel(x, 10)) != 0;
    EXPECT_EQ(redColumns, 0);
    EXPECT_EQ(painted.record, [&] { PictureRecord r = record; r.nac = 1; return r; }());
}

TEST(RenderPicture_Scale, LargerScalesKeepTheRecordAndGrowThePicture)
{
    const RenderedPicture one = renderPicture(seeded(3600.5f, 2), noPacing());
    const RenderedPicture two = renderPicture(seeded(3600.5f, 2, 2), noPacing());
    EXPECT_EQ(two.picture.size(), QSize(906, 906));
    EXPECT_EQ(two.record, one.record);
}

TEST(MomentOfSeed, KeepsTheMillisecondsBelowTheSeed)
{
    const struct {
        float seed;
        QTime time;
    } cases[] = {
        {0.0f, QTime(0, 0)},
        {72182.25f, QTime(20, 3, 2, 250)},
        {86399.99f, QTime(23, 59, 59, 992)}, // the float is 86399.9921875
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        const QDateTime moment = momentOfSeed(kDay, c.seed);
        EXPECT_EQ(moment.date(), kDay);
        EXPECT_EQ(moment.time(), c.time);
    }
}

} // namespace
} // namespace mandalix
