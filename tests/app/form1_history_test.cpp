#include "app/form1.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

// A history that cannot write: one line in the status line, no box, and the pictures go on;
// a red mark stays through the later pictures until one is kept again, which is told once.
TEST(Form1History, PicturesThatCannotBeKeptAreMarkedUntilKeptAgainAndNoBox)
{
    QTemporaryDir folder;
    const QString notAFolder = folder.filePath("history");
    QFile blocker(notAFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FixedClock clock{QDateTime(QDate(2027, 2, 3), QTime(9, 5, 7))};
    Session program(clock, Drives{folder.path(), folder.path()});
    PictureHistory history(notAFolder);
    Form1 form(program, &history, 0ms);
    ASSERT_NE(form.historyPanel(), nullptr);
    form.start();
    ASSERT_TRUE(form.worker().waitUntilIdle(120s));
    std::vector<QImage> pictures{program.surfaces.Picture1.image()};
    for (int k = 1; k <= 3; ++k) {
        clock.set(clock.now().addSecs(1));
        form.post(cmd::NewImageOldPalette{});
        ASSERT_TRUE(form.worker().waitUntilIdle(120s));
        pictures.push_back(program.surfaces.Picture1.image());
        if (k == 1) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !form.statusLine()->text().isEmpty(); }, 10000));
        }
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(form.findChild<QMessageBox*>(), nullptr);
    EXPECT_NE(pictures[3], pictures[2]) << "painting went on";
    EXPECT_EQ(QFile(notAFolder).size(), 0);
    QLabel* mark = form.notKeptMark();
    EXPECT_FALSE(mark->isHidden()) << "the next pictures do not wipe the mark";
    EXPECT_TRUE(mark->text().startsWith(QStringLiteral("Pictures are not kept: ")))
        << mark->text().toStdString();
    EXPECT_TRUE(mark->text().contains(QStringLiteral("history"))) << "it names the path";

    ASSERT_TRUE(QFile::remove(notAFolder));
    clock.set(clock.now().addSecs(1));
    form.post(cmd::NewImageOldPalette{});
    ASSERT_TRUE(form.worker().waitUntilIdle(120s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mark->isHidden(); }, 10000)) << "kept again";
    EXPECT_EQ(form.statusLine()->text(), QStringLiteral("Pictures are kept again."));
    pictures.push_back(program.surfaces.Picture1.image());

    // Undo walks back through them all the same.
    form.post(cmd::Undo{});
    form.post(cmd::Undo{});
    ASSERT_TRUE(form.worker().waitUntilIdle(120s));
    EXPECT_EQ(program.surfaces.Picture1.image(), pictures[2]);
}

} // namespace
} // namespace mandalix
