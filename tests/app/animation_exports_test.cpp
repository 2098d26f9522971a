// The window's exports of animations run on their own thread: the status line shows the
// progress, one export runs at a time, the end says where the video went, and a cancel
// leaves no file and says so.
#include "app/animation_exports.h"

#include "video/colour_cycle_video.h"
#include "video/video_reader.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

PictureRecord cycledRecord()
{
    PictureRecord record;
    record.imeslike = QStringLiteral("T20270101000000");
    record.picture = {1, 1, 12, 6, 18.5, 21.25, 5.5, 0.5, 120, 130, 140, 200, 400, 600, 30, 3, 150};
    record.palette.period = {25, 30, 35};
    record.palette.phase = {1, 2, 3};
    record.palette.wavelength = {30, 40, 50};
    return record;
}

class AnimationExportsQueue : public ::testing::Test {
protected:
    AnimationJob cycleJob(const char* file, QSize size, double seconds) const
    {
        return {{AnimationKind::Cycle, size, 10, seconds}, cycledRecord(), std::nullopt,
                m_folder.filePath(QString::fromLatin1(file))};
    }

    QTemporaryDir m_folder;
    QWidget m_window;
    QLabel m_status{&m_window};
    QStringList m_lines;
    AnimationExports m_exports{&m_window, &m_status, [] { return cycledRecord(); }, m_folder.path(),
                               [this](const QString& line) { m_lines << line; }};
    QSignalSpy m_finished{&m_exports, &AnimationExports::finished};
};

TEST_F(AnimationExportsQueue, OneExportAtATimeWithItsProgressAndWhereItWentAtTheEnd)
{
    const AnimationJob job = cycleJob("cycle.png", {64, 48}, 1);
    ASSERT_TRUE(m_exports.start(job));
    EXPECT_TRUE(m_status.text().startsWith(QStringLiteral("Exporting the colour cycling: ")));
    EXPECT_TRUE(m_status.text().endsWith(QStringLiteral("% (Esc cancels)"))) << m_status.text().toStdString();
    EXPECT_FALSE(m_exports.start(cycleJob("second.png", {64, 48}, 1)));
    ASSERT_EQ(m_lines.size(), 1);
    EXPECT_EQ(m_lines.constLast(), QStringLiteral("An animation is being exported; Esc cancels it"));

    ASSERT_TRUE(m_finished.wait(30000));
    EXPECT_FALSE(m_exports.isRunning());
    EXPECT_EQ(m_lines.constLast(), QStringLiteral("Exported the colour cycling to %1").arg(job.path));
    const Result<VideoInfo> info = readVideoInfo(job.path);
    ASSERT_TRUE(info.ok) << info.message.toStdString();
    EXPECT_EQ(info.value.frameCount, colourCycleFrames(1, 10));
    EXPECT_FALSE(QFile::exists(m_folder.filePath(QStringLiteral("second.png"))));

    ASSERT_TRUE(m_exports.start(cycleJob("cycle.gif", {64, 48}, 1))) << "a new export once the first ended";
    ASSERT_TRUE(m_finished.wait(30000));
    EXPECT_TRUE(m_lines.constLast().contains(QStringLiteral(".webm"))) << m_lines.constLast().toStdString();
}

TEST_F(AnimationExportsQueue, ACancelledExportLeavesNoFileAndSaysSo)
{
    const AnimationJob job = cycleJob("long.mp4", {1280, 720}, 600);
    ASSERT_TRUE(m_exports.start(job));
    m_exports.cancel();
    EXPECT_TRUE(m_status.text().startsWith(QStringLiteral("Cancelling"))) << m_status.text().toStdString();
    ASSERT_TRUE(m_finished.wait(30000));
    EXPECT_EQ(m_lines.constLast(), QStringLiteral("The export of the colour cycling was cancelled; no file was written"));
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "nothing written aside either";
}

} // namespace
} // namespace mandalix
