// A picture's PNG: what Save as writes Open reads back whole, and every file Open cannot
// use is refused with its path and the reason, as is every write that cannot be made.
#include "output/picture_png.h"

#include "output/params_file.h"
#include "surface/surface_sizes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace mandalix {
namespace {

PictureRecord sampleRecord()
{
    PictureRecord record;
    record.seed = 36930.5f;
    record.imeslike = QStringLiteral("T20270203101530");
    record.moment = QDateTime(QDate(2027, 2, 3), QTime(10, 15, 30, 500));
    record.nac = 2;
    record.palette.period = {21, 30, 38};
    record.palette.phase = {0.5, 1.5, 2.5};
    record.palette.wavelength = {30, 40, 50};
    record.picture = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    record.replacements = {{0x102030, 0x405060}, {0x405060, kWhite}};
    return record;
}

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    return image;
}

const std::atomic<bool> kGoOn{false};

// `count` chunks of no data, of a type no reader knows (their CRCs are not looked at).
QByteArray emptyChunks(int count)
{
    const QByteArray one("\0\0\0\0quIt\0\0\0\0", 12);
    return one.repeated(count);
}

// A PNG with `bytes` put right after its header chunk, IHDR.
QByteArray afterHeader(const QByteArray& png, const QByteArray& bytes)
{
    constexpr qsizetype kHeaderEnd = 8 + 12 + 13;
    return png.left(kHeaderEnd) + bytes + png.mid(kHeaderEnd);
}

class PicturePng : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QByteArray bytesOf(const QString& file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeBytes(const QString& file, const QByteArray& bytes) const
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A PNG of `image` carrying `text` as the record's chunk (none when empty).
    void writeRaw(const QString& file, QImage image, const QString& text) const
    {
        if (!text.isEmpty())
            image.setText(QLatin1String(kParamsTextKey), text);
        ASSERT_TRUE(image.save(file, "png"));
    }
    QTemporaryDir m_dir;
};

TEST_F(PicturePng, WrittenAtTheWindowsSizeReadsBackPixelForPixelWithItsRecord)
{
    const QImage image = gradient(kPictureSizePx, kPictureSizePx);
    const PictureWrite written = writePicturePng(path("a.png"), image, sampleRecord(), kGoOn);
    ASSERT_TRUE(written.ok) << written.message.toStdString();

    const PictureRead read = readPicturePng(path("a.png"));
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(read.value.record, sampleRecord());
    EXPECT_EQ(read.value.pixels, image);
    EXPECT_EQ(readParamsFile(path("a.png")).value, sampleRecord()) << "the renderer's --params reads it";

    // Any other size is painted again from the record: its pixels are not read.
    ASSERT_TRUE(writePicturePng(path("b.png"), gradient(906, 454), sampleRecord(), kGoOn).ok);
    const PictureRead larger = readPicturePng(path("b.png"));
    ASSERT_TRUE(larger.ok) << larger.message.toStdString();
    EXPECT_TRUE(larger.value.pixels.isNull());
    EXPECT_EQ(larger.value.size, QSize(906, 454));
    EXPECT_EQ(larger.value.record, sampleRecord());
}

TEST_F(PicturePng, RefusesEveryFileItCannotShowNamingThePathAndTheReason)
{
    const QString good = QString::fromUtf8(paramsChunkText(sampleRecord()).toUtf8());
    const auto withField = [&](const QString& from, const QString& to) {
        QString text = good;
        EXPECT_TRUE(text.contains(from)) << from.toStdString();
        return text.replace(from, to);
    };
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
        const char* reason;
    };
    const QImage small = gradient(kPictureSizePx, kPictureSizePx);
    const std::vector<Case> cases{
        {"no record", [&](const QString& f) { writeRaw(f, small, {}); }, "carries no \"mandalix-params\""},
        {"not a PNG", [&](const QString& f) { writeBytes(f, "GIF89a not a picture"); }, "not a PNG file"},
        {"empty", [&](const QString& f) { writeBytes(f, {}); }, "not a PNG file"},
        {"cut short",
         [&](const QString& f) {
             writeRaw(f, small, good);
             writeBytes(f, bytesOf(f).left(bytesOf(f).size() / 2));
         },
         "cut short"},
        {"cut by one byte",
         [&](const QString& f) {
             writeRaw(f, small, good);
             writeBytes(f, bytesOf(f).chopped(1));
         },
         "cut short"},
        {"larger than the limit",
         [&](const QString& f) {
             QFile file(f);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             ASSERT_TRUE(file.resize(kPicturePngMaxBytes + 1)); // sparse: nothing is written
         },
         "larger than 1024 MiB"},
        {"a side too long", [&](const QString& f) { writeRaw(f, gradient(kMaxPictureSidePx + 1, 1), good); },
         "16385 x 1 pixels is larger than 16384 a side"},
        {"a field missing", [&](const QString& f) { writeRaw(f, small, withField(",\"n1\":6", {})); },
         "picture.n1: missing"},
        {"a field not a number", [&](const QString& f) { writeRaw(f, small, withField("\"n1\":6", "\"n1\":\"six\"")); },
         "picture.n1"},
        {"no generation type", [&](const QString& f) { writeRaw(f, small, withField("\"nac\":2", "\"nac\":5")); },
         "nac: 5 is not a generation type 1 to 4"},
        {"not JSON", [&](const QString& f) { writeRaw(f, small, QStringLiteral("{\"format\":")); }, "line 1"},
        // A hostile file is refused after a bounded walk, before the image decoder sees it.
        {"the record behind 70,000 empty chunks",
         [&](const QString& f) { writeRaw(f, small, good); writeBytes(f, afterHeader(bytesOf(f), emptyChunks(70000))); },
         "the PNG's \"mandalix-params\" text is not among its first 65536 chunks"},
        {"a run of zero bytes, as a file never written in full",
         [&](const QString& f) { writeRaw(f, small, good); writeBytes(f, afterHeader(bytesOf(f), QByteArray(4096, '\0'))); },
         "a chunk of no valid type"},
        {"the window's size padded past 16 MiB",
         [&](const QString& f) {
             writeRaw(f, small, good);
             QByteArray padding("\x01\x10\0\0paDd", 8);
             writeBytes(f, afterHeader(bytesOf(f), padding + QByteArray(0x01100000 + 4, '\0')));
         },
         "larger than 16 MiB, too large for a picture of 453 x 453 pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("bad.png");
        QFile::remove(file);
        c.make(file);
        const PictureRead read = readPicturePng(file);
        EXPECT_FALSE(read.ok);
        EXPECT_TRUE(read.message.startsWith(QStringLiteral("Could not open \"%1\": ").arg(file)))
            << read.message.toStdString();
        EXPECT_TRUE(read.message.contains(QString::fromUtf8(c.reason))) << read.message.toStdString();
        EXPECT_EQ(read.message.count(file), 1) << read.message.toStdString();
    }
    const PictureRead missing = readPicturePng(path("nothing-here.png"));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.message.endsWith(QStringLiteral("no such file"))) << missing.message.toStdString();
}

TEST_F(PicturePng, AFailedOrCancelledWriteLeavesNoFileAndTheOldOneAsItWas)
{
    const QImage image = gradient(kPictureSizePx, kPictureSizePx);
    writeBytes(path("blocker"), "a file, not a folder");
    const QString unwritable = path("blocker") + QStringLiteral("/a.png");
    const PictureWrite failed = writePicturePng(unwritable, image, sampleRecord(), kGoOn);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.value.isCancelled);
    EXPECT_TRUE(failed.message.startsWith(QStringLiteral("Could not write \"%1\": ").arg(unwritable)))
        << failed.message.toStdString();

    writeBytes(path("old.png"), "the old file");
    const std::atomic<bool> cancelled{true};
    const PictureWrite stopped = writePicturePng(path("old.png"), image, sampleRecord(), cancelled);
    EXPECT_FALSE(stopped.ok);
    EXPECT_TRUE(stopped.value.isCancelled);
    EXPECT_EQ(bytesOf(path("old.png")), QByteArray("the old file"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no file left aside";
}

} // namespace
} // namespace mandalix
