// Colour cycling as a video: whole turns of the 68 positions, frame N the picture with its
// positions shifted N places (exactly, in an animated PNG), so the loop closes; a cancelled
// export leaves no file.
#include "video/colour_cycle_video.h"

#include "generator/frame_engine.h"
#include "generator/pixel_terms.h"
#include "palette/colour_cycle.h"
#include "palette/strip_colours.h"
#include "video/video_reader.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

PictureRecord cycledRecord()
{
    PictureRecord record;
    record.picture = {1, 1, 12, 6, 18.5, 21.25, 5.5, 0.5, 120, 130, 140, 200, 400, 600, 30, 3, 150};
    record.palette.period = {25, 30, 35};
    record.palette.phase = {1, 2, 3};
    record.palette.wavelength = {30, 40, 50};
    return record;
}

TEST(ColourCycleVideo, LoopsAreWholeTurns)
{
    const struct {
        double seconds;
        int fps;
        long long frames;
    } cases[] = {{2.3, 30, 68}, {10, 30, 272}, {0, 30, 68}, {1, 1, 68}, {5, 60, 272}};
    for (const auto& c : cases)
        EXPECT_EQ(colourCycleFrames(c.seconds, c.fps), c.frames) << c.seconds << " s at " << c.fps;
}

TEST(ColourCycleVideo, FrameNIsThePictureShiftedNPlacesAndTheLoopCloses)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cycle.png"));
    const PictureRecord record = cycledRecord();
    const QSize size(64, 48);
    long long told = 0;
    ASSERT_TRUE(writeColourCycle(record, size, 10, 6, path, nullptr, [&](long long done, long long) { told = done; }).ok);
    EXPECT_EQ(told, 68);
    const Result<std::vector<QImage>> frames = decodeFrames(path, 1000);
    ASSERT_TRUE(frames.ok) << frames.message.toStdString();
    ASSERT_EQ(frames.value.size(), 68u);
    const QList<QRgb> table = frameColourTable(record);
    QImage indices = FrameEngine(frameStateOf(record), table).paint(size, 1);
    for (int n = 0; n < 68; n += 5) {
        indices.setColorTable(cycledColourTable(table, n));
        EXPECT_EQ(frames.value[static_cast<std::size_t>(n)].convertToFormat(QImage::Format_RGB32),
                  indices.convertToFormat(QImage::Format_RGB32)) << n;
    }
    indices.setColorTable(cycledColourTable(table, 68));
    EXPECT_EQ(frames.value.front().convertToFormat(QImage::Format_RGB32), indices.convertToFormat(QImage::Format_RGB32))
        << "the frame after the last is the first";

    const std::atomic<bool> cancelled{true};
    const QString other = dir.filePath(QStringLiteral("cancelled.webm"));
    EXPECT_FALSE(writeColourCycle(record, size, 10, 6, other, &cancelled).ok);
    EXPECT_FALSE(QFile::exists(other));
}

} // namespace
} // namespace mandalix
