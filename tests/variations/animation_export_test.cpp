// The one entry of an animation's export: the settings and the morph's second picture are
// checked before anything is written, and each kind reaches its own writer with the cancel
// flag and the progress, as the frame counts of tiny animated PNGs show.
#include "variations/animation_export.h"

#include "export/painting_video.h"
#include "variations/morph_video.h"
#include "video/video_reader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

PictureRecord recordOf(int formula, double nac)
{
    PictureRecord record;
    record.nac = nac;
    record.picture = {double(formula), 1, 12, 6, 18.5, 21.25, 5.5, 0.5, 120, 130, 140, 200, 400, 600, 30, 3, 150};
    record.palette.period = {25, 30, 35};
    record.palette.phase = {1, 2, 3};
    record.palette.wavelength = {30, 40, 50};
    return record;
}

TEST(AnimationExport, RefusesBadSettingsAndAMorphWithoutItsSecondPictureWritingNothing)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        AnimationSettings settings;
        const char* refusal;
    } cases[] = {
        {"a painting smaller than the window's", {AnimationKind::Painting, {452, 452}, 5, 0}, "size 452x452"},
        {"a loop of no length", {AnimationKind::Cycle, {32, 24}, 5, 0}, "loop's length"},
        {"a morph without its second picture", {AnimationKind::Morph, {32, 24}, 5, 1}, "second picture"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const QString path = dir.filePath(QStringLiteral("refused.png"));
        const Result<> written = writeAnimation({row.settings, recordOf(1, 1), std::nullopt, path});
        EXPECT_FALSE(written.ok);
        EXPECT_TRUE(written.message.contains(QString::fromLatin1(row.refusal))) << written.message.toStdString();
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
}

TEST(AnimationExport, EachKindIsWrittenByItsWriterWithTheCancelAndTheProgress)
{
    QTemporaryDir dir;
    const PictureRecord second = recordOf(3, 2);
    const struct {
        const char* name;
        AnimationSettings settings;
        PictureRecord picture;
        long long frames;
    } cases[] = {
        {"the painting of type 1", {AnimationKind::Painting, {453, 453}, 2, 1}, recordOf(1, 1),
         paintingVideoFrames(recordOf(1, 1), {AnimationKind::Painting, {453, 453}, 2, 1})},
        {"the painting of type 4, two passes", {AnimationKind::Painting, {453, 453}, 2, 1}, recordOf(1, 4),
         paintingVideoFrames(recordOf(1, 4), {AnimationKind::Painting, {453, 453}, 2, 1})},
        {"colour cycling", {AnimationKind::Cycle, {32, 24}, 10, 1}, recordOf(2, 1), colourCycleFrames(1, 10)},
        {"a morph loop", {AnimationKind::Morph, {32, 24}, 5, 1}, recordOf(2, 1), morphLoopFrames(1, 5)},
    };
    EXPECT_NE(cases[0].frames, cases[1].frames) << "the painting follows the record's generation type";
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const QString path = dir.filePath(QStringLiteral("%1.png").arg(QString::fromLatin1(row.name)));
        const AnimationJob job{row.settings, row.picture, second, path};
        const std::atomic<bool> cancelled{true};
        EXPECT_FALSE(writeAnimation(job, &cancelled).ok);
        EXPECT_FALSE(QFile::exists(path)) << "a cancelled export leaves no file";

        long long told = 0;
        const Result<> written = writeAnimation(job, nullptr, [&](long long done, long long) { told = done; });
        ASSERT_TRUE(written.ok) << written.message.toStdString();
        const Result<VideoInfo> info = readVideoInfo(path);
        ASSERT_TRUE(info.ok) << info.message.toStdString();
        EXPECT_EQ(info.value.size, row.settings.size);
        EXPECT_EQ(info.value.frameCount, row.frames);
        EXPECT_EQ(told, row.frames);
    }
}

} // namespace
} // namespace mandalix
