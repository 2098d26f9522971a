// The morph loop as a video and its frames: every frame the engine's picture of the
// record at its weight, whether painted or kept from the way there; the loop closes; the
// formats decode with the stated size, rate and count; a cancel leaves no file.
#include "variations/morph_video.h"

#include "generator/frame_engine.h"
#include "palette/strip_colours.h"
#include "variations/morph.h"
#include "variations/morph_frames.h"
#include "video/video_reader.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

const QSize kSize(96, 80);

PictureRecord recordA()
{
    PictureRecord record;
    record.picture = {1, 1, 12, 6, 18.5, 21.25, 5.5, 0.5, 120, 130, 140, 200, 400, 600, 30, 3, 150};
    record.palette.period = {25, 30, 35};
    record.palette.phase = {1, 2, 3};
    record.palette.wavelength = {30, 40, 50};
    return record;
}

PictureRecord recordB()
{
    PictureRecord record;
    record.nac = 2;
    record.picture = {3, 2, 16, 4, 27.5, 24.75, 7.25, 0.75, 90, 60, 110, 100, 300, 500, 25, 2.5, 120};
    record.palette.period = {21, 38, 29};
    record.palette.phase = {4, 0.5, 5.5};
    record.palette.wavelength = {40, 60, 35};
    record.view = 1.5;
    return record;
}

QImage rgbOf(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

QImage paintedAt(double w)
{
    const PictureRecord record = morphedRecord(recordA(), recordB(), w);
    return FrameEngine(frameStateOf(record), frameColourTable(record)).paint(kSize, 1);
}

AnimationSettings morphSettings(double seconds)
{
    AnimationSettings settings;
    settings.kind = AnimationKind::Morph;
    settings.size = kSize;
    settings.framesPerSecond = 10;
    settings.seconds = seconds;
    return settings;
}

TEST(MorphVideo, LoopsHaveTheEvenCountNearestTheirLength)
{
    const struct {
        double seconds;
        int fps;
        long long frames;
    } cases[] = {{1, 10, 10},   {1.25, 10, 12}, {1.375, 10, 14}, {2.5, 3, 8},
                 {0.01, 30, 2}, {0, 30, 2},     {600, 120, 72000}, {std::nan(""), 30, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(morphLoopFrames(c.seconds, c.fps), c.frames) << c.seconds << " s at " << c.fps;
}

TEST(MorphVideo, KeptFramesAreThePaintedOnesAndSparePainting)
{
    const long long frames = 10;
    const struct {
        qsizetype budget;
        long long painted;
    } rows[] = {{0, frames}, {kMorphKeptBytes, frames / 2 + 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.budget);
        MorphFrames source(recordA(), recordB(), frames, kSize, row.budget);
        for (long long k = 0; k < frames; ++k)
            EXPECT_EQ(source.frame(k), paintedAt(morphWeight(k, frames))) << k;
        EXPECT_EQ(source.framesPainted(), row.painted);
    }
}

TEST(MorphVideo, AnimatedPngWithTheNextFramePaintedOnAThreadLoopsSeamlessly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morph.png"));
    std::vector<long long> told;
    ASSERT_TRUE(writeMorphLoop(recordA(), recordB(), morphSettings(1), path, nullptr,
                               [&](long long done, long long) { told.push_back(done); }).ok);
    const long long frames = morphLoopFrames(1, 10);
    ASSERT_EQ(told.size(), std::size_t(frames));
    EXPECT_EQ(told.back(), frames);
    const Result<std::vector<QImage>> decoded = decodeFrames(path, 1000);
    ASSERT_TRUE(decoded.ok) << decoded.message.toStdString();
    ASSERT_EQ(decoded.value.size(), std::size_t(frames));
    const auto shown = [&](long long k) { return rgbOf(decoded.value[std::size_t(k)]); };
    EXPECT_EQ(shown(0), rgbOf(FrameEngine(frameStateOf(recordA()), frameColourTable(recordA())).paint(kSize, 1)));
    EXPECT_EQ(shown(frames / 2), rgbOf(FrameEngine(frameStateOf(recordB()), frameColourTable(recordB())).paint(kSize, 1)));
    EXPECT_NE(shown(0), shown(frames / 2));
    for (long long k = 1; k < frames; ++k) {
        EXPECT_EQ(shown(k), rgbOf(paintedAt(morphWeight(k, frames)))) << k;
        EXPECT_EQ(shown(k), shown(frames - k)) << k;
    }
}

TEST(MorphVideo, EncodedLoopsHaveTheStatedSizeRateAndCount)
{
    QTemporaryDir dir;
    for (const char* name : {"morph.webm", "morph.mp4"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QLatin1String(name));
        ASSERT_TRUE(writeMorphLoop(recordA(), recordB(), morphSettings(1.25), path).ok);
        const Result<VideoInfo> info = readVideoInfo(path);
        ASSERT_TRUE(info.ok) << info.message.toStdString();
        EXPECT_EQ(info.value.size, kSize);
        EXPECT_DOUBLE_EQ(info.value.framesPerSecond, 10);
        EXPECT_EQ(info.value.frameCount, morphLoopFrames(1.25, 10));
    }
}

TEST(MorphVideo, CancelWhileTheThreadPaintsLeavesNoFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cancelled.mp4"));
    std::atomic<bool> cancel{false};
    long long told = 0;
    const Result<> written = writeMorphLoop(recordA(), recordB(), morphSettings(2), path, &cancel,
                                            [&](long long done, long long) {
                                                told = done;
                                                if (done == 3)
                                                    cancel = true;
                                            });
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(told, 3);
    EXPECT_FALSE(QFile::exists(path));

    const Result<> refused = writeMorphLoop(recordA(), recordB(), morphSettings(0), path);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.message.contains(QStringLiteral("loop's length"))) << refused.message.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace mandalix
