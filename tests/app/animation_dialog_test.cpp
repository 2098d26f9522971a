// The animation dialog hands each field to the settings it returns, refuses in the dialog
// with one line what cannot be exported (and stays open), keeps the painting's hold and
// the loops' length apart, and reads the morph's second picture from a picture file.
#include "app/animation_dialog.h"

#include "output/picture_png.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

PictureRecord namedRecord(const char* name, double nac)
{
    PictureRecord record;
    record.imeslike = QString::fromLatin1(name);
    record.nac = nac;
    record.moment = QDateTime(QDate(2027, 2, 3), QTime(10, 15, 30));
    return record;
}

class AnimationDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    void choose(AnimationDialog& dialog, AnimationKind kind, const char* size, QSize typed)
    {
        dialog.findChild<QComboBox*>(QStringLiteral("AnimationKind"))->setCurrentIndex(static_cast<int>(kind));
        auto* sizes = dialog.findChild<QComboBox*>(QStringLiteral("AnimationSize"));
        sizes->setCurrentIndex(sizes->findText(QString::fromLatin1(size), Qt::MatchStartsWith));
        if (typed.isValid()) {
            dialog.findChild<QSpinBox*>(QStringLiteral("AnimationWidth"))->setValue(typed.width());
            dialog.findChild<QSpinBox*>(QStringLiteral("AnimationHeight"))->setValue(typed.height());
        }
    }
    QDoubleSpinBox* seconds(AnimationDialog& dialog)
    {
        return dialog.findChild<QDoubleSpinBox*>(QStringLiteral("AnimationSeconds"));
    }

    QTemporaryDir m_folder;
};

TEST_F(AnimationDialogTest, RefusesWhatCannotBeExportedInOneLineAndAcceptsTheRest)
{
    const struct {
        const char* name;
        AnimationKind kind;
        const char* size; // the size list's entry, by its first letters
        QSize typed;      // for "Width and height"
        int fps;
        double seconds;
        const char* file;
        bool hasSecond;
        const char* refusal; // part of the line; empty: accepted
    } cases[] = {
        {"the painting at 720p", AnimationKind::Painting, "720p", {}, 30, 1, "a.webm", false, ""},
        {"the window's picture, held 0", AnimationKind::Painting, "Window", {}, 5, 0, "b.png", false, ""},
        {"a typed 4K loop", AnimationKind::Cycle, "Other", {3840, 2160}, 120, 600, "c.mp4", false, ""},
        {"a morph with its picture", AnimationKind::Morph, "1080p", {}, 24, 4, "d.webm", true, ""},
        {"an odd side in WebM", AnimationKind::Painting, "Window", {}, 30, 1, "e.webm", false, "even width"},
        {"a painting smaller than the window's", AnimationKind::Painting, "Other", {452, 600}, 30, 1, "f.png", false,
         "size 452x600"},
        {"a width beyond 4K", AnimationKind::Cycle, "Other", {3842, 2160}, 30, 4, "g.webm", false, "width 3842"},
        {"a rate of 0", AnimationKind::Cycle, "4K", {}, 0, 4, "h.mp4", false, "frame rate 0"},
        {"a loop of no length", AnimationKind::Morph, "720p", {}, 30, 0, "i.mp4", true, "loop's length"},
        {"a hold past ten minutes", AnimationKind::Painting, "720p", {}, 30, 601, "j.mp4", false, "hold"},
        {"a morph without its picture", AnimationKind::Morph, "720p", {}, 30, 4, "k.webm", false, "second picture"},
        {"a file of no video format", AnimationKind::Cycle, "720p", {}, 30, 4, "l.gif", false, ".webm"},
        {"a folder that does not exist", AnimationKind::Cycle, "720p", {}, 30, 4, "missing/m.webm", false,
         "No such file"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        AnimationDialog dialog(nullptr, {}, m_folder.path(), QStringLiteral("T"));
        const PictureRecord other = namedRecord("T20270101000000", 2);
        if (row.hasSecond)
            dialog.setSecondPicture({other, other.imeslike});
        choose(dialog, row.kind, row.size, row.typed);
        dialog.findChild<QSpinBox*>(QStringLiteral("AnimationFps"))->setValue(row.fps);
        seconds(dialog)->setValue(row.seconds);
        const QString path = m_folder.filePath(QString::fromLatin1(row.file));
        dialog.findChild<QLineEdit*>(QStringLiteral("AnimationOutput"))->setText(path);
        dialog.accept();

        const AnimationSettings settings = dialog.settings();
        EXPECT_EQ(settings.kind, row.kind);
        EXPECT_EQ(settings.framesPerSecond, row.fps);
        EXPECT_EQ(settings.seconds, row.seconds);
        EXPECT_EQ(dialog.path(), path);
        if (*row.refusal == '\0') {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_TRUE(dialog.problem().isEmpty()) << dialog.problem().toStdString();
            EXPECT_TRUE(checkAnimationSettings(settings, path).ok) << "the dialog hands on what it checked";
            if (row.typed.isValid()) {
                EXPECT_EQ(settings.size, row.typed);
            }
            EXPECT_EQ(dialog.secondPicture().has_value(), row.hasSecond);
            continue;
        }
        EXPECT_NE(dialog.result(), QDialog::Accepted) << "the dialog stays open";
        EXPECT_TRUE(dialog.problem().contains(QString::fromLatin1(row.refusal))) << dialog.problem().toStdString();
        EXPECT_FALSE(dialog.problem().contains(QLatin1Char('\n')));
    }
}

// The default folder (drive D:'s) is made when it is missing, as a save there makes it; any
// other missing folder is refused (above).
TEST_F(AnimationDialogTest, TheDefaultFolderIsMadeWhenMissing)
{
    const QString folder = m_folder.filePath(QStringLiteral("Pictures"));
    AnimationDialog dialog(nullptr, {}, folder, QStringLiteral("T"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << dialog.problem().toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

// The painting's hold (1 s at first) and the loops' length (4 s) are kept apart as the kind
// changes, and a second dialog starts where the first was left.
TEST_F(AnimationDialogTest, EachKindKeepsItsSecondsAndTheNextDialogStartsFromTheChoices)
{
    AnimationDialog dialog(nullptr, {}, m_folder.path(), QStringLiteral("T1"));
    auto* kind = dialog.findChild<QComboBox*>(QStringLiteral("AnimationKind"));
    EXPECT_EQ(dialog.settings().seconds, kDefaultPaintingHoldSeconds);
    EXPECT_EQ(dialog.settings().framesPerSecond, kDefaultAnimationFps);
    EXPECT_EQ(dialog.path(), m_folder.filePath(QStringLiteral("T1.webm")));
    kind->setCurrentIndex(static_cast<int>(AnimationKind::Cycle));
    EXPECT_EQ(dialog.settings().seconds, kDefaultLoopSeconds);
    seconds(dialog)->setValue(7);
    kind->setCurrentIndex(static_cast<int>(AnimationKind::Painting));
    EXPECT_EQ(dialog.settings().seconds, kDefaultPaintingHoldSeconds);
    seconds(dialog)->setValue(2.5);
    kind->setCurrentIndex(static_cast<int>(AnimationKind::Morph));
    EXPECT_EQ(dialog.settings().seconds, 7) << "the loops share their length";
    choose(dialog, AnimationKind::Morph, "Other", {640, 360});
    const QString other = m_folder.filePath(QStringLiteral("sub/x.MP4"));
    dialog.findChild<QLineEdit*>(QStringLiteral("AnimationOutput"))->setText(other);

    const AnimationChoices choices = dialog.choices();
    EXPECT_EQ(choices.holdSeconds, 2.5);
    EXPECT_EQ(choices.loopSeconds, 7);
    AnimationDialog next(nullptr, choices, QStringLiteral("/elsewhere"), QStringLiteral("T2"));
    EXPECT_EQ(next.settings().kind, AnimationKind::Morph);
    EXPECT_EQ(next.settings().size, QSize(640, 360));
    EXPECT_EQ(next.settings().seconds, 7);
    EXPECT_EQ(next.path(), m_folder.filePath(QStringLiteral("sub/T2.mp4"))) << "the last folder and format";
    next.findChild<QComboBox*>(QStringLiteral("AnimationKind"))->setCurrentIndex(0);
    EXPECT_EQ(next.settings().seconds, 2.5);
}

TEST_F(AnimationDialogTest, TheSecondPictureIsReadFromAPictureFileAndABadOneIsRefused)
{
    const PictureRecord record = namedRecord("T20270202020202", 3);
    const QString path = m_folder.filePath(QStringLiteral("second.png"));
    ASSERT_TRUE(writePicturePng(path, QImage(453, 453, QImage::Format_RGB32), record, std::atomic<bool>{false}).ok);
    const QString bad = m_folder.filePath(QStringLiteral("bad.png"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();

    AnimationDialog dialog(nullptr, {}, m_folder.path(), QStringLiteral("T"));
    dialog.readSecondPicture(bad);
    ASSERT_TRUE(dialog.waitUntilRead(10s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.problem().isEmpty(); }, 5000));
    EXPECT_TRUE(dialog.problem().contains(bad)) << dialog.problem().toStdString();
    EXPECT_FALSE(dialog.secondPicture());

    dialog.readSecondPicture(path);
    ASSERT_TRUE(dialog.waitUntilRead(10s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.secondPicture().has_value(); }, 5000));
    EXPECT_EQ(dialog.secondPicture()->record, record);
    EXPECT_EQ(dialog.settings().kind, AnimationKind::Morph);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("AnimationSecondName"))->text(), QStringLiteral("second.png"));
}

} // namespace
} // namespace mandalix
