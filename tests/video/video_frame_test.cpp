#include "video/video_frame.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace mandalix {
namespace {

// The palette's look-up into YUV agrees with FFmpeg's BT.709 conversion of the same
// colours as 32-bit RGB: 8x8 blocks of one colour each, their colour read at their centre,
// so that how FFmpeg filters its colour samples does not matter.
TEST(VideoFrameConverter, PaletteIndicesMatchTheirColoursInYuv)
{
    const QSize size(128, 64);
    QImage indexed(size, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table.push_back(qRgb((i * 37) & 255, (i * 91 + 40) & 255, (255 - i * 13) & 255));
    table[0] = qRgb(0, 0, 0);
    table[1] = qRgb(255, 255, 255);
    indexed.setColorTable(table);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            indexed.setPixel(x, y, uint(x / 8 + 16 * (y / 8)));

    VideoFrameConverter fromIndices;
    VideoFrameConverter fromRgb;
    ASSERT_TRUE(fromIndices.open(size, AV_PIX_FMT_YUV420P).ok);
    ASSERT_TRUE(fromRgb.open(size, AV_PIX_FMT_YUV420P).ok);
    const Result<AvFramePtr> a = fromIndices.convert(indexed, 0);
    const Result<AvFramePtr> b = fromRgb.convert(indexed.convertToFormat(QImage::Format_RGB32), 0);
    ASSERT_TRUE(a.ok && b.ok);
    // Black and white at the ends of the studio range.
    EXPECT_EQ(a.value->data[0][0], 16);
    EXPECT_EQ(a.value->data[0][8], 235);
    int worst[3] = {};
    const auto compare = [&](int plane, int x, int y) {
        const int at = y * a.value->linesize[plane] + x;
        const int atB = y * b.value->linesize[plane] + x;
        worst[plane] = std::max(worst[plane], std::abs(a.value->data[plane][at] - b.value->data[plane][atB]));
    };
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            compare(0, x, y);
    for (int y = 2; y < size.height() / 2; y += 4)
        for (int x = 2; x < size.width() / 2; x += 4) {
            compare(1, x, y);
            compare(2, x, y);
        }
    EXPECT_LE(worst[0], 1);
    EXPECT_LE(worst[1], 1);
    EXPECT_LE(worst[2], 1);
}

// Frames share a pool of buffers: one still held is never written over by later
// conversions, whose frames are let go one after another.
TEST(VideoFrameConverter, AFrameHeldKeepsItsPixelsWhileLaterOnesAreConverted)
{
    const QSize size(64, 32);
    const auto filled = [&](QRgb colour) {
        QImage image(size, QImage::Format_Indexed8);
        image.setColorTable({colour});
        image.fill(0);
        return image;
    };
    VideoFrameConverter converter;
    ASSERT_TRUE(converter.open(size, AV_PIX_FMT_YUV420P).ok);
    Result<AvFramePtr> black = converter.convert(filled(qRgb(0, 0, 0)), 0);
    ASSERT_TRUE(black.ok);
    const uint8_t* blackBuffer = black.value->data[0];
    for (int k = 1; k <= 3; ++k) {
        Result<AvFramePtr> white = converter.convert(filled(qRgb(255, 255, 255)), k);
        ASSERT_TRUE(white.ok);
        EXPECT_NE(white.value->data[0], blackBuffer);
        EXPECT_EQ(white.value->data[0][size.width() * size.height() / 2], 235);
    }
    EXPECT_EQ(black.value->data[0][0], 16);
    EXPECT_EQ(black.value->data[0][black.value->linesize[0] * (size.height() - 1) + size.width() - 1], 16);
    EXPECT_EQ(black.value->pts, 0);
}

} // namespace
} // namespace mandalix
