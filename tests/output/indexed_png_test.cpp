#include "output/indexed_png.h"

#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

// Indices that change along both sides, runs and all, over a height that is no whole
// number of bands.
QImage indexedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int k = 0; k < 69; ++k)
        table.push_back(qRgb(k * 3, 255 - k, (k * 37) % 256));
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = static_cast<uchar>(((x / 7) * (y / 5) + x + y) % 69);
    return image;
}

QByteArray written(const QImage& image, const QString& text, int threads)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const Result<> result = writeIndexedPng(buffer, image, 3780, QStringLiteral("mandalix-params"), text, threads);
    EXPECT_TRUE(result.ok);
    return buffer.data();
}

TEST(IndexedPng_Threads, AnyThreadsWriteOneFileThatReadsBackAsTheSamePixelsAndText)
{
    const QImage image = indexedPicture(301, 3 * kPngBandRows + 5);
    const struct {
        const char* name;
        QString text;
    } texts[] = {
        {"Latin-1 with line breaks", QStringLiteral("{\"seed\":1}\nline two\n\u00e9")},
        {"beyond Latin-1", QStringLiteral("ime \u010d\u0161\u017e")},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.name);
        QByteArray bytes = written(image, t.text, 3);
        // The bands are cut at the same rows whatever the threads: the same file.
        EXPECT_EQ(bytes, written(image, t.text, 1));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "png");
        const QImage back = reader.read();
        ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(back.text(QStringLiteral("mandalix-params")), t.text);
        EXPECT_EQ(back.dotsPerMeterX(), 3780);
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image.convertToFormat(QImage::Format_RGB32));
    }
}

TEST(IndexedPng_Write, ADeviceThatTakesNothingIsAFailure)
{
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    const Result<> result = writeIndexedPng(readOnly, indexedPicture(10, 10), 3780, {}, {}, 2);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.isEmpty());
}

} // namespace
} // namespace mandalix
