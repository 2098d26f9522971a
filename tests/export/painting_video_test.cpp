// The painting as a video: frame k of each pass shows the window's picture as it stood at
// the first checkpoint where k / framesPerPass of the pass was painted, the last frames
// show the finished picture with its recolourings, larger videos end on the engine's
// picture, every format holds the frames counted, and a cancel leaves no file.
#include "export/painting_video.h"

#include "generator/frame_engine.h"
#include "palette/palette_strip.h"
#include "palette/strip_colours.h"
#include "program/picture_replay.h"
#include "program/record_painting.h"
#include "video/video_reader.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>

namespace mandalix {
namespace {

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

AnimationSettings paintingSettings(QSize size, int fps, double hold)
{
    AnimationSettings settings;
    settings.size = size;
    settings.framesPerSecond = fps;
    settings.seconds = hold;
    return settings;
}

// Replays the window's painting and keeps, for each frame (pass, k) of a pass of
// `perPass` frames, Picture1 at the first checkpoint with done * perPass >= k * P.
class SnapshotPacer final : public Pacer {
public:
    SnapshotPacer(const Surfaces& surfaces, long long perPass) : m_surfaces(surfaces), m_perPass(perPass) { }
    void beginPass(long long positions) override
    {
        ++m_pass;
        m_positions = positions;
    }
    bool checkpoint(long long done) override
    {
        for (long long k = 1; k <= m_perPass; ++k)
            if (done * m_perPass >= k * m_positions && !snapshots.count({m_pass, k}))
                snapshots[{m_pass, k}] = m_surfaces.Picture1.image();
        return true;
    }
    std::map<std::pair<int, long long>, QImage> snapshots;

private:
    const Surfaces& m_surfaces;
    const long long m_perPass;
    int m_pass = 0;
    long long m_positions = 1;
};

std::vector<QImage> decodedFrames(const QString& path)
{
    const Result<std::vector<QImage>> frames = decodeFrames(path, 100000);
    EXPECT_TRUE(frames.ok) << frames.message.toStdString();
    std::vector<QImage> images;
    for (const QImage& frame : frames.value)
        images.push_back(frame.convertToFormat(QImage::Format_RGB32));
    return images;
}

TEST(PaintingVideo, AtTheWindowsSizeEachFrameIsTheWindowsPictureWhenItsShareWasPainted)
{
    constexpr int kFps = 5;
    constexpr long long kPerPass = 2 * kFps;
    const AnimationSettings settings = paintingSettings(QSize(kPictureSizePx, kPictureSizePx), kFps, 0.4);
    for (int nac : {1, 2, 3, 4}) {
        SCOPED_TRACE(nac);
        PictureRecord record = recordOfType(nac);
        // A recolouring of the centre's colour: only the finished picture shows it.
        const QImage plain = paintRecordAtWindowSize(record);
        record.replacements.push_back({fromArgb(plain.pixel(226, 226)), 0x123456});
        const QImage finished = paintRecordAtWindowSize(record);
        ASSERT_NE(finished, plain);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("painting.png"));
        const Result<> written = writePaintingVideo(record, settings, path);
        ASSERT_TRUE(written.ok) << written.message.toStdString();
        const std::vector<QImage> frames = decodedFrames(path);
        const int passes = nac == 4 ? 2 : 1;
        ASSERT_EQ(static_cast<long long>(frames.size()), paintingVideoFrames(record, settings));
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(passes * kPerPass + 2));

        auto surfaces = std::make_unique<Surfaces>();
        SnapshotPacer replay(*surfaces, kPerPass);
        ASSERT_TRUE(paintRecordFromStart(record, *surfaces, replay));
        for (int pass = 1; pass <= passes; ++pass)
            for (long long k = 1; k <= kPerPass; ++k) {
                const std::size_t index = static_cast<std::size_t>((pass - 1) * kPerPass + k - 1);
                const bool isLast = pass == passes && k == kPerPass;
                const QImage& expected = isLast ? finished : replay.snapshots[std::make_pair(pass, k)];
                EXPECT_EQ(frames[index], expected) << "pass " << pass << ", frame " << k;
            }
        EXPECT_EQ(frames.back(), finished);
        EXPECT_NE(frames.front(), finished) << "the first frame shows the picture partly painted";
    }
}

TEST(PaintingVideo, LargerVideosEndOnTheEnginesPicture)
{
    const QSize size(480, 460);
    const AnimationSettings settings = paintingSettings(size, 5, 0.2);
    for (int nac : {2, 4}) {
        SCOPED_TRACE(nac);
        const PictureRecord record = recordOfType(nac);
        const QImage atOnce = FrameEngine(frameStateOf(record), frameColourTable(record)).paint(size, 2);
        for (int y = 0; y < size.height(); ++y)
            ASSERT_EQ(std::memchr(atOnce.constScanLine(y), kFailedIndex, std::size_t(size.width())), nullptr)
                << "the record paints every pixel";
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("painting.png"));
        const Result<> written = writePaintingVideo(record, settings, path);
        ASSERT_TRUE(written.ok) << written.message.toStdString();
        const std::vector<QImage> frames = decodedFrames(path);
        ASSERT_EQ(static_cast<long long>(frames.size()), paintingVideoFrames(record, settings));
        ASSERT_EQ(frames.size(), static_cast<std::size_t>((nac == 4 ? 20 : 10) + 1));
        const QImage expected = atOnce.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(frames.back(), expected);
        EXPECT_EQ(frames[frames.size() - 2], expected) << "the pass's last frame is the finished picture";
        EXPECT_NE(frames[frames.size() - 3], expected) << "the frame before is not";
    }
}

TEST(PaintingVideo, EncodedFormatsHoldEveryFrameAtTheirRate)
{
    const AnimationSettings settings = paintingSettings(QSize(480, 460), 10, 0.5);
    const PictureRecord record = recordOfType(3);
    for (const char* name : {"painting.webm", "painting.mp4"}) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(name));
        const Result<> written = writePaintingVideo(record, settings, path);
        ASSERT_TRUE(written.ok) << written.message.toStdString();
        const Result<VideoInfo> info = readVideoInfo(path);
        ASSERT_TRUE(info.ok) << info.message.toStdString();
        EXPECT_EQ(info.value.size, settings.size);
        EXPECT_NEAR(info.value.framesPerSecond, 10, 1e-6);
        EXPECT_EQ(info.value.frameCount, paintingVideoFrames(record, settings));
        EXPECT_EQ(info.value.frameCount, 25);
    }
}

TEST(PaintingVideo, CancelLeavesNoFileAndTheEarlierOneAsItWas)
{
    // The window's painting in an animated PNG (odd sides), the engine's in WebM.
    const struct {
        QSize size;
        const char* fileName;
    } rows[] = {{QSize(kPictureSizePx, kPictureSizePx), "painting.png"}, {QSize(480, 460), "painting.webm"}};
    for (const auto& [size, fileName] : rows) {
        for (const bool hasEarlier : {true, false}) {
            SCOPED_TRACE(testing::Message() << fileName << (hasEarlier ? ", earlier file" : ", no file"));
            QTemporaryDir dir;
            const QString path = dir.filePath(QLatin1String(fileName));
            const QByteArray earlier("an earlier file");
            if (hasEarlier) {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(earlier);
            }
            std::atomic<bool> cancel{false};
            long long told = 0;
            const Result<> written = writePaintingVideo(recordOfType(4), paintingSettings(size, 10, 1), path, &cancel,
                                                        [&](long long done, long long) {
                                                            told = done;
                                                            if (done == 3)
                                                                cancel = true;
                                                        });
            EXPECT_FALSE(written.ok);
            EXPECT_EQ(written.message, QStringLiteral("Export of \"%1\" cancelled").arg(path));
            EXPECT_EQ(told, 3) << "no frame after the cancel";
            const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
            EXPECT_EQ(left, hasEarlier ? QStringList{QLatin1String(fileName)} : QStringList{});
            if (hasEarlier) {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                EXPECT_EQ(file.readAll(), earlier);
            }
        }
    }
}

} // namespace
} // namespace mandalix
