// mandalix-render --count as a user runs it: a batch killed halfway and started again ends
// with every picture complete and none twice, what was written before the kill kept as it
// was; each picture is the one its seed paints alone.
#include "output/params_file.h"
#include "tools/render_process.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QThread>

#include <map>

#include <signal.h>

namespace mandalix {
namespace {

TEST_F(MandalixRender, ABatchKilledHalfwayGoesOnWhereItWasAndEndsComplete)
{
    const QStringList line = {"--count", "50", "--seed", "1000", "--scale", "2", "--out-dir", "out"};
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    const QDir out(path("out"));
    QProcess first;
    first.setWorkingDirectory(dir.path());
    first.start(QStringLiteral(MANDALIX_RENDER_EXECUTABLE), line);
    ASSERT_TRUE(first.waitForStarted());
    // Killed early enough that the batch cannot have ended on a loaded machine.
    while (out.entryList({"*.png"}, QDir::Files).size() < 5 && first.state() == QProcess::Running)
        QThread::msleep(2);
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    first.waitForFinished();
    std::map<QString, QDateTime> before;
    for (const QFileInfo& file : out.entryInfoList(QDir::Files | QDir::Hidden))
        before[file.fileName()] = file.lastModified();
    ASSERT_LT(before.size(), 100u) << "the batch ended before it was killed";

    const Finished again = run(line);
    EXPECT_EQ(again.status, 0) << again.err.toStdString();
    const QStringList pngs = out.entryList({"*.png"}, QDir::Files);
    EXPECT_EQ(pngs.size(), 50);
    EXPECT_EQ(out.entryList(QDir::Files | QDir::Hidden).size(), 100) << "a partial file was left";
    QSet<float> seeds;
    for (const QString& png : pngs) {
        SCOPED_TRACE(png.toStdString());
        EXPECT_EQ(QImage(out.filePath(png)).size(), QSize(906, 906));
        const ParamsRead record = readParamsFile(out.filePath(png));
        ASSERT_TRUE(record.ok) << record.message.toStdString();
        EXPECT_EQ(record.value.imeslike + ".png", png);
        EXPECT_TRUE(QFileInfo::exists(out.filePath(record.value.imeslike + ".json")));
        seeds.insert(record.value.seed);
    }
    EXPECT_EQ(seeds.size(), 50);
    // A kill between a picture's two renames leaves its record without its PNG; that
    // picture is painted again, so only pictures complete before the kill must stay as they were.
    for (const auto& [name, modified] : before) {
        const QString stem = QFileInfo(name).completeBaseName();
        if (before.count(stem + ".png") && before.count(stem + ".json")) {
            EXPECT_EQ(QFileInfo(out.filePath(name)).lastModified(), modified) << name.toStdString();
        }
    }

    // The last picture of the batch is the one its seed paints alone.
    runOk("--seed 1049 --scale 2 alone.png");
    const ParamsRead alone = readParamsFile(path("alone.png"));
    ASSERT_TRUE(alone.ok);
    EXPECT_EQ(contents("alone.png"), contents("out/" + alone.value.imeslike + ".png"));
}

} // namespace
} // namespace mandalix
