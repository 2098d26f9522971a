// The slide show's painter: whatever the order, the finished frame at the window's size
// is the window's picture of the same record wherever the pipeline paints; each pass is paced block by block, one
// publish a block, and a stop at a block ends the picture there.
#include "slideshow/slide_painter.h"

#include "generator/frame_blocks.h"
#include "palette/palette_strip.h"
#include "palette/strip_colours.h"
#include "program/picture_replay.h"
#include "program/record_painting.h"

#include <gtest/gtest.h>

#include <vector>

namespace mandalix {
namespace {

// Counts the passes and checkpoints; stops at checkpoint `stopAt` (0: never).
class CountingPacer final : public Pacer {
public:
    explicit CountingPacer(int stopAt = 0) : m_stopAt(stopAt) { }
    void beginPass(long long positions) override
    {
        passes.push_back(positions);
        last = 0;
    }
    bool checkpoint(long long done) override
    {
        EXPECT_GT(done, last) << "progress only grows within a pass";
        last = done;
        return ++checkpoints != m_stopAt;
    }
    std::vector<long long> passes;
    long long last = 0;
    int checkpoints = 0;

private:
    int m_stopAt;
};

// A new picture of generation type `nac` as the window begins one.
PictureRecord recordOfType(int nac)
{
    WindowState s;
    setStartUpDefaults(s, nac);
    s.ponovi = 0;
    Rnd paletteRnd(37815.0f);
    return newPictureRecord(s, drawPaletteWaves(paletteRnd), QDateTime(QDate(2026, 12, 9), QTime(10, 30, 15, 250)),
                            37815.25f);
}

int blackPixels(const QImage& image)
{
    int black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            black += image.pixel(x, y) == 0xFF000000 ? 1 : 0;
    return black;
}

TEST(SlidePainter_Frame, EveryOrderEndsWithTheWindowsPictureOfTheRecord)
{
    for (int nac : {1, 2, 3, 4}) {
        SCOPED_TRACE(nac);
        const PictureRecord record = recordOfType(nac);
        const QImage window = paintRecordAtWindowSize(record);
        SlidePainter painter(kPictureSizePx, 2);
        CountingPacer pacer;
        ASSERT_TRUE(painter.paint(record, pacer));
        const long long positions = static_cast<long long>(kPictureSizePx) * kPictureSizePx;
        EXPECT_EQ(pacer.passes, std::vector<long long>(nac == 4 ? 2 : 1, positions));
        EXPECT_EQ(pacer.last, positions);
        EXPECT_GE(pacer.checkpoints, kBlocksPerPass * (nac == 4 ? 2 : 1) - 1);
        EXPECT_EQ(painter.changes(), static_cast<std::uint64_t>(pacer.checkpoints)) << "one publish per block";
        // Where the pipeline fails, the window shows what its order left there and the frame
        // what it showed: black, or type 4's noise. Elsewhere the two are the same.
        const QImage frame = painter.snapshot();
        const QImage atOnce = FrameEngine(frameStateOf(record), frameColourTable(record))
                                  .paint(QSize(kPictureSizePx, kPictureSizePx), 1);
        int different = 0;
        for (int y = 0; y < kPictureSizePx; ++y) {
            for (int x = 0; x < kPictureSizePx; ++x) {
                if (atOnce.constScanLine(y)[x] != kFailedIndex)
                    different += frame.pixel(x, y) != window.pixel(x, y) ? 1 : 0;
                else if (nac != 4)
                    different += frame.pixel(x, y) != 0xFF000000 ? 1 : 0;
            }
        }
        EXPECT_EQ(different, 0);
        EXPECT_LT(blackPixels(window), kPictureSizePx * kPictureSizePx / 2) << "a real picture";
    }
}

TEST(SlidePainter_Stop, AStopAtABlockEndsThePictureWithThatBlockPublished)
{
    SlidePainter painter(600, 2);
    CountingPacer pacer(3);
    EXPECT_FALSE(painter.paint(recordOfType(2), pacer));
    EXPECT_EQ(pacer.checkpoints, 3);
    EXPECT_EQ(painter.changes(), 3u);
    // Three blocks of rings from the centre: the corners are still black, the middle not.
    const QImage frame = painter.snapshot();
    const int painted = 600 * 600 - blackPixels(frame);
    EXPECT_GT(painted, 0);
    EXPECT_LE(painted, 3 * (600 * 600 + kBlocksPerPass - 1) / kBlocksPerPass);
    EXPECT_EQ(frame.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(frame.pixel(599, 599), 0xFF000000u);
}

} // namespace
} // namespace mandalix
