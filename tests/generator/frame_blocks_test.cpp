// The frame painted block by block: whatever the order and the threads, the finished
// frame is the frame painted at once (the noise pass showing only where pixels fail), at
// any size, with each failed pixel of type 4 showing the noise drawn for it; a stop at a
// block leaves the picture there.
#include "generator/frame_blocks.h"

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
#include "palette/strip_colours.h"
#include "surface/surface_sizes.h"

#include <gtest/gtest.h>

#include <atomic>

#include <vector>

namespace mandalix {
namespace {

// Counts passes and blocks; stops at block `stopAt` (0: never).
class CountingPacer final : public Pacer {
public:
    explicit CountingPacer(int stopAt = 0) : m_stopAt(stopAt) { }
    void beginPass(long long positions) override { passes.push_back(positions); }
    bool checkpoint(long long done) override
    {
        last = done;
        return ++blocks != m_stopAt;
    }
    const std::atomic<bool>* stopFlag() const override { return &isStopping; }
    std::vector<long long> passes;
    long long last = 0;
    int blocks = 0;
    std::atomic<bool> isStopping{false};

private:
    int m_stopAt;
};

// Formula set 2 with corners that fail.
PictureRecord failingCornersRecord()
{
    PictureRecord record;
    Rnd rnd(2468.5f);
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    record.picture.tip = 2;
    record.picture.barv = 3;
    record.picture.n4 = 0.85;
    return record;
}

QImage blackFrame(QSize size)
{
    QImage frame(size, QImage::Format_RGB32);
    frame.fill(QColor(Qt::black));
    return frame;
}

TEST(FrameBlocks_Threads, EveryOrderAndThreadCountEndsAsThePictureAtOnce)
{
    const PictureRecord record = failingCornersRecord();
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    long long anyFailed = 0;
    // Blocks of one position at 3 x 2: parts of a block without a position.
    for (QSize size : {QSize(97, 61), QSize(40, 75), QSize(64, 64), QSize(3, 2)}) {
        const QImage atOnce = engine.paint(size, 2);
        const QImage expected = atOnce.convertToFormat(QImage::Format_RGB32);
        for (int nac = 1; nac <= 4; ++nac) {
            for (int threads = 1; threads <= 3; ++threads) {
                SCOPED_TRACE(QStringLiteral("%1x%2 nac %3 threads %4").arg(size.width()).arg(size.height())
                                 .arg(nac).arg(threads).toStdString());
                BlockPainter painter(engine, size, threads);
                QImage frame = blackFrame(size);
                std::mutex lock;
                Rnd rnd(9.0f);
                CountingPacer pacer;
                ASSERT_TRUE(painter.paint(nac, frame, lock, rnd, pacer));
                const long long square = static_cast<long long>(std::max(size.width(), size.height()))
                    * std::max(size.width(), size.height());
                EXPECT_EQ(pacer.passes, std::vector<long long>(nac == 4 ? 2 : 1, square));
                EXPECT_EQ(pacer.last, square);
                int different = 0;
                for (int y = 0; y < size.height(); ++y) {
                    for (int x = 0; x < size.width(); ++x) {
                        const bool isFailed = atOnce.constScanLine(y)[x] == kFailedIndex;
                        anyFailed += isFailed;
                        if (!(nac == 4 && isFailed))
                            different += frame.pixel(x, y) != expected.pixel(x, y);
                    }
                }
                EXPECT_EQ(different, 0);
            }
        }
    }
    EXPECT_GT(anyFailed, 0) << "the noise must stay only where pixels fail";
}

TEST(FrameBlocks_Noise, AtTwiceTheWindowsSideFailedPixelsShowTheirNoiseAndTheRestThePicture)
{
    const PictureRecord record = failingCornersRecord();
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    const int side = 2 * kPictureSizePx;
    const QImage atOnce = engine.paint(QSize(side, side), 2);
    const QImage picture = atOnce.convertToFormat(QImage::Format_RGB32);
    // The noise pass's colour of every position, drawn as the painter draws it.
    Rnd noiseRnd(31.0f);
    SquareOrder order(SquareOrderKind::Random, side, &noiseRnd);
    std::vector<SquarePosition> positions;
    std::vector<Colour> colours;
    order.take(order.positions(), positions, &colours);
    QImage noise = blackFrame(QSize(side, side));
    for (std::size_t k = 0; k < positions.size(); ++k)
        noise.setPixel(static_cast<int>(positions[k] % side), static_cast<int>(positions[k] / side), toArgb(colours[k]));
    for (int nac : {2, 4}) {
        SCOPED_TRACE(nac);
        BlockPainter painter(engine, QSize(side, side), 2);
        QImage frame = blackFrame(QSize(side, side));
        std::mutex lock;
        Rnd rnd(31.0f);
        ASSERT_TRUE(painter.paint(nac, frame, lock, rnd, noPacing()));
        int different = 0;
        int failed = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const bool isFailed = atOnce.constScanLine(y)[x] == kFailedIndex;
                failed += isFailed;
                different += frame.pixel(x, y) != (nac == 4 && isFailed ? noise : picture).pixel(x, y);
            }
        }
        EXPECT_EQ(different, 0);
        EXPECT_GT(failed, 0);
    }
}

TEST(FrameBlocks_Stop, AStopAtABlockLeavesTheRestUnpainted)
{
    const PictureRecord record = failingCornersRecord();
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    const QSize size(120, 90);
    BlockPainter painter(engine, size, 2);
    QImage frame = blackFrame(size);
    std::mutex lock;
    Rnd rnd(1.0f);
    CountingPacer pacer(3);
    EXPECT_FALSE(painter.paint(1, frame, lock, rnd, pacer));
    EXPECT_EQ(pacer.blocks, 3);
    // Left to right over the 120-square: three blocks of 60 positions are the first
    // column and a half of the square, which begins 15 rows above the frame.
    const QImage atOnce = engine.paint(size, 1).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(frame.copy(0, 0, 1, 90), atOnce.copy(0, 0, 1, 90));
    EXPECT_EQ(frame.copy(1, 0, 1, 45), atOnce.copy(1, 0, 1, 45));
    EXPECT_EQ(frame.copy(1, 45, 1, 45), blackFrame(QSize(1, 45)));
    EXPECT_EQ(frame.copy(2, 0, 118, 90), blackFrame(QSize(118, 90)));

    // A stop already asked for ends the painting at once, before any block.
    CountingPacer stopped;
    stopped.isStopping = true;
    QImage untouched = blackFrame(size);
    EXPECT_FALSE(painter.paint(1, untouched, lock, rnd, stopped));
    EXPECT_EQ(stopped.blocks, 0);
    EXPECT_EQ(untouched, blackFrame(size));
}

} // namespace
} // namespace mandalix
