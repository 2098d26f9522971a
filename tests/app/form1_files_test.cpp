// Pictures dropped on the window or opened: a picture's PNG is shown as it was saved; a
// file that is no such picture gets a message with the path and the reason and changes
// nothing on show.
#include "app/form1.h"
#include "output/picture_png.h"
#include "output/png_text.h"

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
        // A file is read on the reader's thread, then shown through the worker.
        ASSERT_TRUE(m_form.files().reader().waitUntilIdle(60s));
        QCoreApplication::processEvents();
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
    Session m_program{m_clock, Drives{m_drive.path(), m_drive.path()}};
    Form1 m_form{m_program, nullptr, 0ms};
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
    record.lineage = Lineage::adoptedFrom(QStringLiteral("dropped.png"));
    EXPECT_EQ(m_program.picture, record);
    EXPECT_EQ(m_form.statusLine()->text(), QStringLiteral("Opened %1").arg(path));
}

// The file is read away from the GUI thread: the drop returns before anything is read,
// and a file built to make a reader walk for minutes is refused with its reason.
TEST_F(Form1Files, AFileThatIsNoPictureChangesNothingAndSaysWhy)
{
    QByteArray crafted = QByteArray(kPngSignature, 8);
    crafted += QByteArray("\0\0\0\x0dIHDR\0\0\x01\xc5\0\0\x01\xc5\x08\x02\0\0\0\0\0\0\0", 25); // 453 x 453
    crafted += QByteArray("\0\0\0\0quIt\0\0\0\0", 12).repeated(kPngMaxChunksWalked + 10);
    crafted += QByteArray("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    const struct {
        const char* name;
        QByteArray bytes;
        QString reason;
    } rows[] = {
        {"notes.png", "just words", QStringLiteral("not a PNG file")},
        {"chunks.png", crafted,
         QStringLiteral("the PNG's \"mandalix-params\" text is not among its first %1 chunks").arg(kPngMaxChunksWalked)},
    };
    const PictureRecord record = m_program.picture;
    const QImage picture = m_program.surfaces.Picture1.image();
    const QImage strip = m_program.surfaces.Picture3.image();
    const WindowState state = m_program.state;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = m_drive.filePath(QLatin1String(row.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(row.bytes);
        file.close();

        ASSERT_TRUE(drop(path));
        EXPECT_EQ(m_form.findChild<QMessageBox*>(), nullptr);
        settle();
        auto* box = m_form.findChild<QMessageBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("Could not open \"%1\": %2").arg(path, row.reason));
        EXPECT_EQ(m_program.picture, record);
        EXPECT_EQ(m_program.surfaces.Picture1.image(), picture);
        EXPECT_EQ(m_program.surfaces.Picture3.image(), strip);
        EXPECT_EQ(m_program.state, state);
        delete box;
    }
}

} // namespace
} // namespace mandalix
