#include "app/form1.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>
#include <QTest>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

struct Form1Results : ::testing::Test {
    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2027, 2, 3), QTime(9, 5, 7))};

    void click(Form1& form, const char* name)
    {
        auto* button = form.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    // Waits until the worker is idle and its queued results have reached the window.
    void settle(Form1& form)
    {
        ASSERT_TRUE(form.worker().waitUntilIdle(120s));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

TEST_F(Form1Results, ASaveShowsWhereTheFileWentAndTheNextPictureClearsIt)
{
    Session program(clock, Drives{folder.path(), folder.path() + "/d"});
    Form1 form(program, nullptr, 0ms);
    form.start();
    settle(form);
    click(form, "Command11");
    settle(form);
    const QString path = folder.path() + "/T20270203090507.jpg";
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(form.statusLine()->text().contains(path)) << form.statusLine()->text().toStdString();
    EXPECT_EQ(form.findChild<QMessageBox*>(), nullptr);

    click(form, "Command1");
    EXPECT_TRUE(form.statusLine()->text().isEmpty());
    settle(form);
}

TEST_F(Form1Results, ASaveQueuedJustBeforeANewPictureIsNotReportedOverIt)
{
    Session program(clock, Drives{folder.path(), folder.path() + "/d"});
    Form1 form(program, nullptr, 0ms);
    form.start();
    settle(form);
    // Both clicks at once: the save's news arrives while the new picture is painted.
    click(form, "Command11");
    click(form, "Command1");
    settle(form);
    EXPECT_TRUE(QFile::exists(folder.path() + "/T20270203090507.jpg"));
    EXPECT_TRUE(form.statusLine()->text().isEmpty()) << form.statusLine()->text().toStdString();

    // A save of the picture on show is reported, and a recolouring of it ends the report.
    click(form, "Command11");
    settle(form);
    EXPECT_FALSE(form.statusLine()->text().isEmpty());
    form.post(cmd::ReplaceColour{200, 200});
    settle(form);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.statusLine()->text().isEmpty(); }, 5000));
}

TEST_F(Form1Results, AFailedSaveShowsTheReasonAndTheProgramGoesOn)
{
    QFile blocker(folder.path() + "/not-a-folder");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Session program(clock, Drives{blocker.fileName() + "/c", folder.path()});
    Form1 form(program, nullptr, 0ms);
    form.start();
    settle(form);
    const QImage picture = program.surfaces.Picture1.image();

    click(form, "Command11");
    settle(form);
    auto* box = form.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(blocker.fileName() + "/c")) << box->text().toStdString();
    EXPECT_EQ(program.surfaces.Picture1.image(), picture);
    box->close();

    click(form, "Command3");
    settle(form);
    EXPECT_TRUE(QFile::exists(folder.path() + "/T20270203090507.jpg"));
}

// Failures queued one behind another share one box, the status line drops the last
// "Saved ..." line, and "exit" still ends the window while the box is open.
TEST_F(Form1Results, FailuresJoinOneBoxThatLeavesExitWorking)
{
    QFile blocker(folder.path() + "/not-a-folder");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Session program(clock, Drives{blocker.fileName() + "/c", folder.path()});
    Form1 form(program, nullptr, 0ms);
    form.show();
    form.start();
    click(form, "Command3");
    settle(form);
    ASSERT_TRUE(form.statusLine()->text().startsWith("Saved ")) << form.statusLine()->text().toStdString();

    for (int k = 0; k < 5; ++k)
        click(form, "Command11");
    settle(form);
    const QList<QMessageBox*> boxes = form.findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    const QString failure = QStringLiteral("Could not save \"%1/c/T20270203090507.jpg\": ").arg(blocker.fileName());
    EXPECT_EQ(boxes.front()->text().count(failure), 5) << boxes.front()->text().toStdString();
    EXPECT_EQ(boxes.front()->text().count(u'\n'), 4);
    EXPECT_TRUE(form.statusLine()->text().isEmpty()) << form.statusLine()->text().toStdString();

    auto* exit = form.findChild<QPushButton*>(QStringLiteral("Command2"));
    ASSERT_NE(exit, nullptr);
    QTest::mouseClick(exit, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.findChildren<QMessageBox*>().isEmpty() || !form.findChild<QMessageBox*>()->isVisible());
}

} // namespace
} // namespace mandalix
