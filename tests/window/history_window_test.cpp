// Undo, redo and the history of pictures in the real window: Ctrl+Z and Ctrl+Shift+Z /
// Ctrl+Y show earlier and later pictures exactly, they wait behind a picture being
// painted, and a picture kept in one run is shown again, exactly, from the panel of the
// next.
#include "window/real_window_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

// The history panel's thumbnails: three to a row, right of the layout, newest first.
constexpr int kPanelX = 864;
constexpr int kPanelY = 8;
constexpr int kCellPx = 104;
constexpr int kThumbnailPx = 96;

QPoint thumbnailCentre(int index)
{
    return {kPanelX + index % 3 * kCellPx + kCellPx / 2 - 2,
            kPanelY + index / 3 * kCellPx + kCellPx / 2 - 2};
}

bool showsThumbnail(const QImage& shot, int index)
{
    const QPoint c = thumbnailCentre(index);
    const QImage thumb = shot.copy(c.x() - kThumbnailPx / 4, c.y() - kThumbnailPx / 4,
                                   kThumbnailPx / 2, kThumbnailPx / 2);
    for (int y = 0; y < thumb.height(); ++y)
        for (int x = 0; x < thumb.width(); ++x)
            if (!isBlack(thumb.pixel(x, y)))
                return true;
    return false;
}

// The kept pictures of a folder, oldest first.
QStringList keptFiles(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("T*.png")}, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QJsonObject recordOf(const QString& path)
{
    const QImage image(path);
    return QJsonDocument::fromJson(image.text(QStringLiteral("mandalix-params")).toUtf8()).object();
}

class HistoryWindowTest : public RealWindowTest {
protected:
    void press(const char* keys)
    {
        QString error;
        ASSERT_TRUE(m_program->pressKeys(QString::fromLatin1(keys), &error)) << error.toStdString();
    }
    // Waits until the picture shows `expected` and then stands still.
    void expectPictureBecomes(const QImage& expected, const char* what)
    {
        const bool shown = waitFor([&] { return pictureOf(m_program->grab()) == expected; },
                                   kPaintDeadline);
        EXPECT_TRUE(shown) << what << "\n" << m_program->report();
        EXPECT_EQ(waitUntilPictureIsStill(), expected) << what;
    }
    // Clicks a button that paints a new picture, and waits until it is done.
    QImage paintNew(const char* button)
    {
        const QImage before = pictureOf(m_program->grab());
        click(button);
        EXPECT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) != before; }, kPaintDeadline))
            << "no new picture\n" << m_program->report();
        return waitUntilPictureIsStill();
    }
};

TEST_F(HistoryWindowTest, UndoAndRedo_ShowEachPictureAndRecolouringExactly)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage a = waitUntilPictureIsStill();
    const QImage b = paintNew("Command1");
    ASSERT_NE(a, b);

    press("ctrl+z");
    expectPictureBecomes(a, "Ctrl+Z shows the picture before");
    press("ctrl+shift+z");
    expectPictureBecomes(b, "Ctrl+Shift+Z shows the picture after");

    // A recolouring: pick a strip colour other than the one under the press.
    const QPoint at(200, 200);
    const QImage strip = region(m_program->grab(), areaOf("Picture3"));
    int column = 0;
    while (column + 1 < strip.width() && strip.pixel(column, 10) == b.pixel(at))
        ++column;
    clickInArea("Picture3", column, 10);
    clickInArea("Picture1", at.x(), at.y());
    ASSERT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) != b; }, kPaintDeadline))
        << "the press recoloured nothing\n" << m_program->report();
    const QImage recoloured = waitUntilPictureIsStill();

    press("ctrl+z");
    expectPictureBecomes(b, "Ctrl+Z takes the recolouring back");
    press("ctrl+y");
    expectPictureBecomes(recoloured, "Ctrl+Y makes it again");
    saveForTheEye(m_program->grab(), "window-history.png");
}

TEST_F(HistoryWindowTest, RepeatImageAfterAnUndo_PaintsThatPicturesParameters)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage a = waitUntilPictureIsStill();
    paintNew("Command1"); // a gives way, and is kept
    const QString folder = m_program->historyFolder();
    ASSERT_TRUE(waitFor([&] { return keptFiles(folder).size() == 1; }, kPaintDeadline));
    const QString firstPath = keptFiles(folder)[0];
    const QJsonObject first = recordOf(firstPath);
    press("ctrl+z");
    expectPictureBecomes(a, "Ctrl+Z shows the first picture");
    click("Command5");
    const QImage repeated = waitUntilPictureIsStill();
    paintNew("Command1"); // the repeated picture gives way, and is kept

    // A repeat with nothing changed is the same picture as a: its file takes a's place.
    ASSERT_TRUE(waitFor([&] { return keptFiles(folder).size() == 2 && !QFile::exists(firstPath); },
                        kPaintDeadline))
        << keptFiles(folder).join(u' ').toStdString() << m_program->report();
    const QStringList kept = keptFiles(folder); // b, then the repeat
    const QJsonObject repeat = recordOf(kept[1]);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(repeat.value("picture"), first.value("picture"));
    EXPECT_EQ(repeat.value("palette"), first.value("palette"));
    EXPECT_TRUE(repeat.value("repeat").toBool());
    const QImage keptRepeat = QImage(kept[1]).convertToFormat(QImage::Format_RGB32);
    int different = 0;
    int differentKept = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            different += isSurelyPainted(x, y) && repeated.pixel(x, y) != a.pixel(x, y);
            differentKept += isSurelyPainted(x, y) && keptRepeat.pixel(x, y) != repeated.pixel(x, y);
        }
    EXPECT_EQ(different, 0) << "the same parameters paint the same pixels where every picture paints";
    EXPECT_EQ(differentKept, 0) << "the file kept is the picture repeated";
}

TEST_F(HistoryWindowTest, UndosDuringAPicture_RunAfterItInTheirOrder)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    const QImage b = paintNew("Command1");
    const QImage c = paintNew("Command1");
    const QImage d = paintNew("Command1");

    click("Command1");
    ASSERT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) != d; }, kPaintDeadline));
    for (int k = 0; k < 3; ++k)
        press("ctrl+z");
    const QImage atKeys = pictureOf(m_program->grab());
    bool sawANewPictureDone = false;
    const QImage last = waitUntilStill(areaOf("Picture1"), [&](const QImage& shot) {
        const QImage now = pictureOf(shot);
        sawANewPictureDone = sawANewPictureDone || (now != atKeys && now != b && now != c && now != d);
    });
    EXPECT_EQ(last, b) << "three undos after the new picture land on the picture two before it";
    EXPECT_TRUE(sawANewPictureDone) << "the new picture was not painted on after the keys";
    EXPECT_TRUE(waitFor([&] { return keptFiles(m_program->historyFolder()).size() == 5; },
                        kPaintDeadline))
        << "every picture painted is kept, the one painted under the keys too: "
        << keptFiles(m_program->historyFolder()).join(u' ').toStdString();
}

TEST_F(HistoryWindowTest, AfterARestart_ThePanelShowsTheKeptPicturesAndAClickRestoresOne)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    paintNew("Command1");
    click("Command2");
    ASSERT_NO_FATAL_FAILURE(expectEndsAtOnceWithSuccess());
    const QString folder = m_program->historyFolder();
    const QStringList kept = keptFiles(folder);
    ASSERT_EQ(kept.size(), 2) << "both pictures are kept, the one on show at exit too";

    // The next run, on the same history.
    std::unique_ptr<ProgramUnderTest> firstRun = std::move(m_program);
    m_program = std::make_unique<ProgramUnderTest>(*sharedSession().session);
    m_program->setHistoryFolder(folder);
    QString error;
    ASSERT_TRUE(m_program->start(&error)) << error.toStdString();
    ASSERT_TRUE(m_program->findWindow(kWindowDeadline, &error)) << error.toStdString();
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    ASSERT_TRUE(waitFor([&] { return showsThumbnail(m_program->grab(), 1); }, kPaintDeadline))
        << "no thumbnails\n" << m_program->report();
    EXPECT_FALSE(showsThumbnail(m_program->grab(), 2));
    waitUntilPictureIsStill();
    saveForTheEye(m_program->grab(), "window-history-restart.png");

    const QImage older = QImage(kept[0]).convertToFormat(QImage::Format_RGB32);
    const QPoint at = thumbnailCentre(1);
    clickAt(at.x(), at.y());
    expectPictureBecomes(older, "a click on the older thumbnail shows that picture as kept");
}

// What is kept is what the record paints: mandalix-render --params of each kept file paints
// its pixels again, whole, the one kept while the help panel lay over the picture too.
TEST_F(HistoryWindowTest, KeptFiles_EqualWhatTheRendererPaintsFromTheirRecord)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    click("Command8");
    waitUntilPictureIsStill();
    paintNew("Command1");
    click("Command2");
    ASSERT_NO_FATAL_FAILURE(expectEndsAtOnceWithSuccess());
    const QStringList kept = keptFiles(m_program->historyFolder());
    ASSERT_EQ(kept.size(), 2);
    QTemporaryDir aside;
    for (const QString& path : kept) {
        SCOPED_TRACE(path.toStdString());
        const QString rendered = aside.filePath(QFileInfo(path).fileName());
        const ToolRun render = runTool(QStringLiteral(MANDALIX_RENDER_EXECUTABLE),
                                       {QStringLiteral("--params"), path, rendered},
                                       QProcessEnvironment::systemEnvironment(), kPaintDeadline);
        ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
        EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32),
                  QImage(rendered).convertToFormat(QImage::Format_RGB32));
    }
}

// Bad history folders: one that is a file, and one full of files the program did not
// write or that are damaged. The program starts and paints as ever and says what it
// skipped; nothing of the folder is touched.
class BadHistoryWindowTest : public HistoryWindowTest {
protected:
    void SetUp() override { }
    void startOn(const QString& folder, const QStringList& arguments = {})
    {
        m_program = std::make_unique<ProgramUnderTest>(*sharedSession().session);
        m_program->setHistoryFolder(folder);
        m_program->setArguments(arguments);
        QString error;
        ASSERT_TRUE(m_program->start(&error)) << error.toStdString();
        ASSERT_TRUE(m_program->findWindow(kWindowDeadline, &error)) << error.toStdString();
        ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
        waitUntilPictureIsStill();
    }
    QTemporaryDir m_aside;
};

TEST_F(BadHistoryWindowTest, AFolderThatIsAFile_IsToldInOneStatusLineAndPaintingGoesOn)
{
    const QString file = m_aside.filePath(QStringLiteral("history"));
    QFile(file).open(QIODevice::WriteOnly);
    ASSERT_NO_FATAL_FAILURE(startOn(file));
    paintNew("Command1");
    const QRect status(expected::kStatusX, expected::kStatusY, expected::kStatusW, expected::kStatusH);
    const auto showsALine = [&] {
        const QImage line = region(m_program->grab(), status);
        for (int y = 0; y < line.height(); ++y)
            for (int x = 0; x < line.width(); ++x)
                if (!isBlack(line.pixel(x, y)))
                    return true;
        return false;
    };
    EXPECT_TRUE(waitFor(showsALine, kPaintDeadline)) << "no line in the status line\n"
                                                      << m_program->report();
    paintNew("Command1");
    EXPECT_TRUE(m_program->errorOutput().contains(QStringLiteral("it is not a folder")))
        << m_program->report();
    EXPECT_EQ(QFileInfo(file).size(), 0) << "the file stays as it was";
}

TEST_F(BadHistoryWindowTest, ForeignAndDamagedFiles_AreSkippedWithAWarningAndLeftAlone)
{
    const QDir dir(m_aside.path());
    const QStringList strangers{QStringLiteral("notes.txt"), QStringLiteral("T20260101000000.png"),
                                QStringLiteral("T20260101000001.png")};
    QFile(dir.filePath(strangers[0])).open(QIODevice::WriteOnly);
    QFile junk(dir.filePath(strangers[1]));
    junk.open(QIODevice::WriteOnly);
    junk.write(QByteArray(5000, '\x89'));
    junk.close();
    QImage(453, 453, QImage::Format_RGB32).save(dir.filePath(strangers[2])); // no record
    ASSERT_NO_FATAL_FAILURE(startOn(dir.path()));
    paintNew("Command1");
    ASSERT_TRUE(waitFor([&] { return keptFiles(dir.path()).size() == 3; }, kPaintDeadline));
    EXPECT_TRUE(waitFor([&] { return showsThumbnail(m_program->grab(), 0); }, kPaintDeadline));
    EXPECT_FALSE(showsThumbnail(m_program->grab(), 1)) << "only the program's own picture shows";
    for (const QString& name : strangers) {
        EXPECT_TRUE(dir.exists(name)) << name.toStdString();
        EXPECT_EQ(m_program->errorOutput().count(name), 1) << name.toStdString() << "\n"
                                                          << m_program->report();
    }
}

TEST_F(BadHistoryWindowTest, NoHistory_KeepsNothingOnDisk)
{
    const QString folder = m_aside.filePath(QStringLiteral("history"));
    ASSERT_NO_FATAL_FAILURE(startOn(folder, {QStringLiteral("--no-history")}));
    paintNew("Command1");
    press("ctrl+z");
    paintNew("Command1");
    click("Command2");
    ASSERT_NO_FATAL_FAILURE(expectEndsAtOnceWithSuccess());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

} // namespace
} // namespace mandalix::xtest
