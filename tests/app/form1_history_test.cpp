#include "app/form1.h"
#include "app/variations_window.h"

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

// A kept picture as a parent, or bred with the picture on show; one that cannot be read
// gets a line and opens nothing.
TEST(Form1History, AKeptPictureMakesVariationsOrBreedsAndABadOneIsToldInALine)
{
    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2027, 2, 3), QTime(9, 5, 7))};
    Session program(clock, Drives{folder.path(), folder.path()});
    PictureHistory history(folder.filePath("history"));
    Form1 form(program, &history, 0ms);
    form.setVariationSettingsPath(folder.filePath("variations.ini"));
    form.start();
    ASSERT_TRUE(form.worker().waitUntilIdle(120s));
    const PictureRecord first = program.picture;
    clock.set(clock.now().addSecs(1));
    form.post(cmd::NewImageOldPalette{});
    ASSERT_TRUE(form.worker().waitUntilIdle(120s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.historyPanel()->count() == 1; }, 10000));
    const QString kept = form.historyPanel()->pathAt(0);

    const QString broken = folder.filePath("history/T20270203090500.png");
    QFile(broken).open(QIODevice::WriteOnly);
    form.useKeptPicture(broken, Form1::KeptUse::Parent);
    EXPECT_TRUE(form.statusLine()->text().startsWith(QStringLiteral("Cannot use that kept picture: ")))
        << form.statusLine()->text().toStdString();
    EXPECT_EQ(form.findChild<VariationsWindow*>(), nullptr) << "nothing opens";

    form.useKeptPicture(kept, Form1::KeptUse::Breed);
    const Generation& bred = form.variations().walk().current();
    EXPECT_EQ(bred.kind, Generation::Kind::Breeding);
    EXPECT_TRUE(isSamePicture(bred.parent, program.picture));
    EXPECT_TRUE(isSamePicture(bred.otherParent, first));
    form.useKeptPicture(kept, Form1::KeptUse::Parent);
    EXPECT_TRUE(isSamePicture(form.variations().walk().current().parent, first));
    form.variations().close();
}

} // namespace
} // namespace mandalix
