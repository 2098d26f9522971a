// mandalix-render --animate as a user runs it: the painting ends on the picture the
// renderer paints, the morph passes through both pictures, the loops and the shared
// formats decode with the stated size, rate and count; bad settings are refused before
// anything is painted and an interrupted video leaves no file.
#include "tools/render_process.h"
#include "video/video_reader.h"

#include <QImage>
#include <QThread>

#include <signal.h>

namespace mandalix {
namespace {

std::vector<QImage> framesOf(const QString& path)
{
    const Result<std::vector<QImage>> frames = decodeFrames(path, 1000);
    EXPECT_TRUE(frames.ok) << frames.message.toStdString();
    return frames.value;
}

QImage pictureOf(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

TEST_F(MandalixRender, AnimatesThePaintingAndTheMorphThroughTheRenderersPictures)
{
    runOk("--seed 100 --type 2 --params-out a.json a.png");
    runOk("--seed 30000 --type 1 --params-out b.json b.png");
    runOk("--params a.json --size 120x100 a-small.png");
    runOk("--params b.json --size 120x100 b-small.png");

    // One pass of 2 s at 5 frames a second, then 0.4 s held: the last frame is the picture.
    runOk("--params a.json --animate painting --fps 5 --seconds 0.4 painting.png");
    const std::vector<QImage> painting = framesOf(path("painting.png"));
    ASSERT_EQ(painting.size(), 10u + 2u);
    EXPECT_EQ(painting.back(), pictureOf(path("a.png")));
    EXPECT_NE(painting.front(), painting.back());

    // A loop of 10 frames: A, B at its middle, and back towards A.
    runOk("--params a.json --animate morph --with b.json --size 120x100 --fps 10 --seconds 1 morph.png");
    const std::vector<QImage> morph = framesOf(path("morph.png"));
    ASSERT_EQ(morph.size(), 10u);
    EXPECT_EQ(morph[0], pictureOf(path("a-small.png")));
    EXPECT_EQ(morph[5], pictureOf(path("b-small.png")));
    EXPECT_EQ(morph[1], morph[9]);
}

TEST_F(MandalixRender, VideosDecodeWithTheStatedSizeRateAndCount)
{
    const struct {
        const char* line;
        const char* out;
        QSize size;
        double fps;
        int frames;
    } cases[] = {
        {"--seed 100 --type 3 --animate painting --size 480x460 --fps 5 --seconds 0", "p.webm", {480, 460}, 5, 10},
        {"--seed 100 --animate cycle --size 120x100 --fps 10 --seconds 4", "c.mp4", {120, 100}, 10, 68},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        runOk(QStringLiteral("%1 %2").arg(QLatin1String(c.line), QLatin1String(c.out)));
        const Result<VideoInfo> info = readVideoInfo(path(QLatin1String(c.out)));
        ASSERT_TRUE(info.ok) << info.message.toStdString();
        EXPECT_EQ(info.value.size, c.size);
        EXPECT_DOUBLE_EQ(info.value.framesPerSecond, c.fps);
        EXPECT_EQ(info.value.frameCount, c.frames);
    }
}

TEST_F(MandalixRender, RefusesBadVideosBeforePaintingAndAnInterruptLeavesNoFile)
{
    const Finished slow = run({"--seed", "100", "--animate", "painting", "--fps", "0", "v.webm"});
    EXPECT_EQ(slow.status, 2);
    EXPECT_TRUE(slow.err.startsWith("mandalix-render: --fps: 0 is out of range")) << slow.err.toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.webm"));
    const Finished folder = run({"--seed", "100", "--animate", "cycle", "folder.webm"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_TRUE(folder.err.contains("\"folder.webm\": Is a directory")) << folder.err.toStdString();
    EXPECT_EQ(folder.err.count('\n'), 1);

    // Ten minutes held at the end: the run is interrupted long before.
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(MANDALIX_RENDER_EXECUTABLE),
                  {"--seed", "100", "--animate", "painting", "--size", "1920x1080", "--seconds", "600", "v.webm"});
    ASSERT_TRUE(process.waitForStarted());
    QThread::msleep(1500);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("cancelled"));
    EXPECT_EQ(files(), QStringList{"folder.webm"});
}

} // namespace
} // namespace mandalix
