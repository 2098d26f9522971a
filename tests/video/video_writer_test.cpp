#include "video/video_encoder.h"
#include "video/video_reader.h"
#include "video/video_writer.h"
#include "output/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace mandalix {
namespace {

constexpr QSize kSize(64, 48);
constexpr int kFrames = 12;
constexpr int kFps = 24;

struct FormatRow {
    const char* name;
    const char* fileName;
    bool isLossless;
    QImage::Format given; // what the frames are handed over as
};

const FormatRow kFormats[] = {
    {"WebM", "loop.webm", false, QImage::Format_ARGB32},
    {"MP4", "loop.mp4", false, QImage::Format_Indexed8},
    {"animated PNG, 8-bit RGB", "loop.png", true, QImage::Format_RGB888},
    {"animated PNG, palette indices", "loop.png", true, QImage::Format_Indexed8},
};

// Gradients that move with the frame, and a bright bar at a column of the frame's own.
QImage frameImage(int index)
{
    QImage image(kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize.height(); ++y)
        for (int x = 0; x < kSize.width(); ++x)
            image.setPixel(x, y, qRgb((x * 4 + index * 20) & 255, (y * 5 + index * 7) & 255, (x + y + index * 31) & 255));
    for (int y = 0; y < kSize.height(); ++y)
        image.setPixel(4 + index * 4, y, qRgb(255, 255, 255));
    return image;
}

// The frame as handed over in `format`, and as those colours read back.
QImage givenFrame(int index, QImage::Format format)
{
    return frameImage(index).convertToFormat(format, Qt::AvoidDither);
}
QImage expectedFrame(int index, QImage::Format format)
{
    return givenFrame(index, format).convertToFormat(QImage::Format_RGB32);
}

// The mean of the channels' absolute differences.
double distance(const QImage& a, const QImage& b)
{
    long long sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return double(sum) / (3.0 * a.width() * a.height());
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

TEST(VideoWriter, FramesReadBackAsWrittenInOrder)
{
    for (const FormatRow& row : kFormats) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(row.fileName));
        VideoWriter writer;
        ASSERT_TRUE(writer.open(path, kSize, kFps).ok);
        for (int index = 0; index < kFrames; ++index)
            ASSERT_TRUE(writer.addFrame(givenFrame(index, row.given)).ok);
        const Result<> finished = writer.finish();
        ASSERT_TRUE(finished.ok) << finished.message.toStdString();
        EXPECT_EQ(entries(dir), QStringList{QLatin1String(row.fileName)});

        const Result<VideoInfo> info = readVideoInfo(path);
        ASSERT_TRUE(info.ok) << info.message.toStdString();
        EXPECT_EQ(info.value.size, kSize);
        EXPECT_NEAR(info.value.framesPerSecond, kFps, 1e-6);
        EXPECT_EQ(info.value.frameCount, kFrames);

        const Result<std::vector<QImage>> frames = decodeFrames(path, kFrames);
        ASSERT_TRUE(frames.ok) << frames.message.toStdString();
        ASSERT_EQ(frames.value.size(), std::size_t(kFrames));
        for (int index = 0; index < kFrames; ++index) {
            SCOPED_TRACE(index);
            const QImage& decoded = frames.value[std::size_t(index)];
            if (row.isLossless) {
                EXPECT_EQ(decoded, expectedFrame(index, row.given));
                continue;
            }
            // Lossy, but nearer its own frame than its neighbours: no frame lost or swapped.
            const double own = distance(decoded, expectedFrame(index, row.given));
            // 4:2:0 blurs the colour of the small frames' sharp edges; a wrong matrix,
            // range or channel order lands far beyond.
            EXPECT_LT(own, 20.0);
            for (const int other : {index - 1, index + 1}) {
                if (other >= 0 && other < kFrames) {
                    EXPECT_LT(own, distance(decoded, expectedFrame(other, row.given)));
                }
            }
        }
    }
}

TEST(VideoWriter, UnfinishedVideoLeavesNoFileAndEarlierFileUntouched)
{
    for (const FormatRow& row : kFormats) {
        for (const bool hasEarlier : {true, false}) {
            SCOPED_TRACE(std::string(row.name) + (hasEarlier ? ", earlier file" : ", no file"));
            QTemporaryDir dir;
            const QString path = dir.filePath(QLatin1String(row.fileName));
            const QByteArray earlier("an earlier file, not a video");
            if (hasEarlier) {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(earlier);
            }
            {
                VideoWriter writer;
                ASSERT_TRUE(writer.open(path, kSize, kFps).ok);
                for (int index = 0; index < 3; ++index)
                    ASSERT_TRUE(writer.addFrame(frameImage(index)).ok);
                // Cancelled outright, or dropped by its destruction.
                if (!hasEarlier)
                    writer.cancel();
            }
            EXPECT_EQ(entries(dir), hasEarlier ? QStringList{QLatin1String(row.fileName)} : QStringList{});
            if (hasEarlier) {
                EXPECT_EQ(contents(path), earlier);
            }
        }
    }
}

TEST(VideoWriter, DiskFullFailsTheVideoAndKeepsTheEarlierFile)
{
    for (const FormatRow& row : kFormats) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(row.fileName));
        const QByteArray earlier(1000, 'e');
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(earlier);
        }
        Result<> written;
        {
            const FileSizeLimit lowered(2000);
            VideoWriter writer;
            written = writer.open(path, kSize, kFps);
            for (int index = 0; written.ok && index < kFrames; ++index)
                written = writer.addFrame(frameImage(index));
            if (written.ok)
                written = writer.finish();
        }
        EXPECT_FALSE(written.ok);
        EXPECT_EQ(written.message.toStdString(), QStringLiteral("Could not export \"%1\": File too large").arg(path).toStdString());
        EXPECT_EQ(entries(dir), QStringList{QLatin1String(row.fileName)});
        EXPECT_EQ(contents(path), earlier);
    }
}

TEST(VideoWriter, RefusesWithOneLineNamingTheField)
{
    struct Row {
        const char* name;
        const char* fileName;
        QSize size;
        int fps;
        const char* saying; // empty: accepted
    };
    const Row rows[] = {
        {"odd width, MP4", "v.mp4", {63, 48}, 30, "even width and height, not 63x48"},
        {"odd height, WebM", "v.webm", {64, 47}, 30, "even width and height, not 64x47"},
        {"odd size, animated PNG", "v.png", {63, 47}, 30, ""},
        {"narrow", "v.webm", {14, 48}, 30, "width 14 is not within 16..3840"},
        {"widest", "v.png", {3840, 16}, 30, ""},
        {"too tall", "v.mp4", {64, 2162}, 30, "height 2162 is not within 16..2160"},
        {"no frames a second", "v.mp4", {64, 48}, 0, "frame rate 0 is not within 1..120"},
        {"too many frames a second", "v.png", {64, 48}, 121, "frame rate 121 is not within 1..120"},
        {"unknown suffix", "v.gif", {64, 48}, 30, "end it in .webm (VP9), .mp4 (H.264) or .png"},
        {"a folder", "folder.webm", {64, 48}, 30, "folder.webm\": Is a directory"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.webm")));
        VideoWriter writer;
        const Result<> opened = writer.open(dir.filePath(QLatin1String(row.fileName)), row.size, row.fps);
        const QString saying = QLatin1String(row.saying);
        EXPECT_EQ(opened.ok, saying.isEmpty()) << opened.message.toStdString();
        EXPECT_TRUE(opened.message.contains(saying)) << opened.message.toStdString();
        EXPECT_FALSE(opened.message.contains(QLatin1Char('\n')));
        EXPECT_EQ(writer.isOpen(), opened.ok);
        writer.cancel();
        EXPECT_EQ(entries(dir), QStringList{QStringLiteral("folder.webm")});
    }
}

TEST(VideoWriter, FrameOfAnotherSizeFailsTheVideo)
{
    QTemporaryDir dir;
    VideoWriter writer;
    ASSERT_TRUE(writer.open(dir.filePath(QStringLiteral("v.webm")), kSize, kFps).ok);
    ASSERT_TRUE(writer.addFrame(frameImage(0)).ok);
    const Result<> added = writer.addFrame(frameImage(1).copy(0, 0, 64, 46));
    EXPECT_FALSE(added.ok);
    EXPECT_EQ(added.message, QStringLiteral("A frame of 64x46 does not fit a video of 64x48"));
    EXPECT_EQ(writer.finish().message, added.message);
    EXPECT_TRUE(entries(dir).isEmpty());
}

// The caller changes its one image at once after each hand-over while earlier frames are
// still being encoded on the writer's thread, and hands some over twice unchanged: each
// frame reads back exactly as it was when handed over, none taken from a later change
// and none from an earlier conversion.
TEST(VideoWriterThread, EachFrameIsTheImageAsHandedOverEvenWhenChangedAtOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("loop.png"));
    VideoWriter writer;
    ASSERT_TRUE(writer.open(path, kSize, kFps).ok);
    QImage image = frameImage(0);
    std::vector<QImage> given;
    for (int index = 0; index < 3 * kFrames; ++index) {
        if (index % 3 != 2) {
            // In place: the same image object, changed pixels.
            for (int y = 0; y < kSize.height(); ++y)
                image.setPixel(index % kSize.width(), y, qRgb(index * 7, 255 - index, 40));
        }
        given.push_back(image.copy());
        ASSERT_TRUE(writer.addFrame(image).ok);
    }
    ASSERT_TRUE(writer.finish().ok);
    const Result<std::vector<QImage>> frames = decodeFrames(path, 1000);
    ASSERT_TRUE(frames.ok) << frames.message.toStdString();
    ASSERT_EQ(frames.value.size(), given.size());
    for (std::size_t index = 0; index < given.size(); ++index)
        EXPECT_EQ(frames.value[index], given[index]) << index;
}

TEST(VideoWriter, MissingEncoderNamesTheFormat)
{
    const Result<const AVCodec*> found = findVideoEncoder(VideoFormat::WebM, "no-such-vp9");
    EXPECT_FALSE(found.ok);
    EXPECT_EQ(found.message, QStringLiteral("WebM needs FFmpeg's no-such-vp9 encoder, which this FFmpeg lacks"));
}

} // namespace
} // namespace mandalix
