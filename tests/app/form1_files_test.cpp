// Pictures dropped on the window or opened: a picture's PNG is shown as it was saved; a
// file that is no such picture gets a message with the path and the reason and changes
// nothing on show.
#include "app/form1.h"
#include "output/picture_png.h"

#include <QDropEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

class Form1Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
        m_form.start();
        settle();
    }
    void settle()
    {
        ASSERT_TRUE(m_form.worker().waitUntilIdle(60s));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // Drags a file over the window and drops it; returns whether the window took it.
    bool drop(const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at(400, 400);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&m_form, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&m_form, &dropped);
        return dropped.isAccepted();
    }

    QTemporaryDir m_drive;
    FixedClock m_clock{QDateTime(QDate(2027, 4, 5), QTime(6, 7, 8))};
    Program m_program{m_clock, Drives{m_drive.path(), m_drive.path()}};
    Form1 m_form{m_program, 0ms};
};

TEST_F(Form1Files, APictureDroppedOnTheWindowIsShownAsSaved)
{
    QImage saved = m_program.surfaces.Picture1.image();
    saved.setPixel(3, 4, qRgb(10, 20, 30)); // no painting gives this: the saved pixels show
    PictureRecord record = m_program.picture;
    record.imeslike = QStringLiteral("T20000101000000");
    const QString path = m_drive.filePath(QStringLiteral("dropped.png"));
    ASSERT_TRUE(writePicturePng(path, saved, record, std::atomic<bool>{false}).ok);

    ASSERT_TRUE(drop(path));
    settle();
    EXPECT_EQ(m_program.surfaces.Picture1.image(), saved);
    EXPECT_EQ(m_program.picture, record);
    EXPECT_EQ(m_form.statusLine()->text(), QStringLiteral("Opened %1").arg(path));
}

TEST_F(Form1Files, AFileThatIsNoPictureChangesNothingAndSaysWhy)
{
    const QString path = m_drive.filePath(QStringLiteral("notes.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just words");
    file.close();
    const PictureRecord record = m_program.picture;
    const QImage picture = m_program.surfaces.Picture1.image();
    const QImage strip = m_program.surfaces.Picture3.image();
    const WindowState state = m_program.state;

    ASSERT_TRUE(drop(path));
    settle();
    auto* box = m_form.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Could not open \"%1\": not a PNG file").arg(path));
    EXPECT_EQ(m_program.picture, record);
    EXPECT_EQ(m_program.surfaces.Picture1.image(), picture);
    EXPECT_EQ(m_program.surfaces.Picture3.image(), strip);
    EXPECT_EQ(m_program.state, state);
    box->close();
}

} // namespace
} // namespace mandalix
