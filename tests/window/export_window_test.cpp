// Save as and Open in the real window: a picture saved at the window's size is the
// picture on show with its record, a larger one is the renderer's picture of that record,
// Open and a file named at start show a saved picture exactly, and Esc stops a large save
// without leaving a file.
#include "window/real_window_fixture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

constexpr auto kDialogDeadline = 10s;
constexpr auto kSaveDeadline = 120s;

class ExportWindowTest : public RealWindowTest {
protected:
    QString inFolder(const char* name) const { return QDir(m_program->folder()).filePath(QString::fromLatin1(name)); }

    // Ctrl+S, then in the dialog the path typed over the proposed name, the size picked
    // by the first letters of its entry (none: the window's picture), and Enter.
    void saveAs(const QString& path, const QString& size = {})
    {
        openDialog(QStringLiteral("ctrl+s"), QStringLiteral("Save as PNG"));
        QString error;
        ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("ctrl+a"), &error)) << error.toStdString();
        ASSERT_TRUE(m_program->typeInFocus(path, &error)) << error.toStdString();
        if (!size.isEmpty()) {
            ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("alt+z"), &error)) << error.toStdString();
            ASSERT_TRUE(m_program->typeInFocus(size, &error)) << error.toStdString();
        }
        ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("Return"), &error)) << error.toStdString();
    }

    void open(const QString& path)
    {
        openDialog(QStringLiteral("ctrl+o"), QStringLiteral("Open a picture"));
        QString error;
        ASSERT_TRUE(m_program->typeInFocus(path, &error)) << error.toStdString();
        ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("Return"), &error)) << error.toStdString();
    }

    void openDialog(const QString& keys, const QString& title)
    {
        QString error;
        ASSERT_TRUE(m_program->pressKeys(keys, &error)) << error.toStdString();
        ASSERT_TRUE(m_program->waitForWindowTitled(title, kDialogDeadline, &error))
            << error.toStdString() << "\n" << m_program->report();
    }

    // The saved picture once its file is in place (files are renamed into place whole).
    QImage waitForSaved(const QString& path)
    {
        EXPECT_TRUE(waitFor([&] { return QFile::exists(path); }, kSaveDeadline))
            << path.toStdString() << " never appeared\n" << m_program->report();
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }

    // The PNGs in the drives' folder, also any written aside and left.
    QStringList picturesInFolder() const
    {
        return QDir(m_program->folder()).entryList({QStringLiteral("*.png*")}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(ExportWindowTest, SaveAsIsThePictureOnShowOrTheRenderersAndOpenShowsItExactly)
{
    waitUntilStartedUp();
    const QImage shown = waitUntilPictureIsStill();
    const QString window = inFolder("window.png");
    saveAs(window);
    const QImage saved = waitForSaved(window);
    EXPECT_EQ(saved, shown) << "the window's size is the picture on show, pixel for pixel";
    EXPECT_TRUE(QImageReader(window).text(QStringLiteral("mandalix-params")).contains(QStringLiteral("\"imeslike\"")));

    const QString large = inFolder("large.png");
    saveAs(large, QStringLiteral("4x"));
    const QImage exported = waitForSaved(large);
    ASSERT_EQ(exported.size(), QSize(1812, 1812));
    const QString rendered = inFolder("rendered.png");
    const ToolRun render = runTool(QStringLiteral(MANDALIX_RENDER_EXECUTABLE),
                                   {QStringLiteral("--params"), window, QStringLiteral("--scale"), QStringLiteral("4"), rendered},
                                   QProcessEnvironment::systemEnvironment(), kSaveDeadline);
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    const QImage expected = QImage(rendered).convertToFormat(QImage::Format_RGB32);
    long long compared = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (!isBlack(expected.pixel(x, y))) { // black: where the pipeline failed
                ++compared;
                ASSERT_EQ(exported.pixel(x, y), expected.pixel(x, y)) << x << ", " << y;
            }
    EXPECT_GT(compared, 1812LL * 1812 / 2);

    QString error;
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("n"), &error)) << error.toStdString();
    ASSERT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) != shown; }, kPaintDeadline));
    waitUntilPictureIsStill();
    open(window);
    ASSERT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) == shown; }, kPaintDeadline))
        << "Open shows the saved pixels as they are";
}

TEST_F(ExportWindowTest, AFileNamedAtStartIsShownAsSaved)
{
    waitUntilStartedUp();
    const QImage first = waitUntilPictureIsStill();
    const QString path = inFolder("named.png");
    saveAs(path);
    ASSERT_EQ(waitForSaved(path), first);
    const QString copy = QDir::temp().filePath(QStringLiteral("mandalix-named-%1.png").arg(QCoreApplication::applicationPid()));
    QFile::remove(copy);
    ASSERT_TRUE(QFile::copy(path, copy));

    m_program = std::make_unique<ProgramUnderTest>(*sharedSession().session);
    QString error;
    ASSERT_TRUE(m_program->start(&error, {copy})) << error.toStdString();
    ASSERT_TRUE(m_program->findWindow(kWindowDeadline, &error)) << error.toStdString();
    waitUntilStartedUp();
    EXPECT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) == first; }, kPaintDeadline))
        << "the named file replaces the start-up picture\n" << m_program->report();
    QFile::remove(copy);
}

TEST_F(ExportWindowTest, EscStopsASixteenTimesSaveAndLeavesNoFile)
{
    waitUntilStartedUp();
    waitUntilPictureIsStill();
    const QString large = inFolder("sixteen.png");
    saveAs(large, QStringLiteral("16"));
    QString error;
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("Escape"), &error)) << error.toStdString();
    // One save at a time: the next Save as opens its dialog once the first has ended.
    const QString after = inFolder("after.png");
    ASSERT_TRUE(waitFor(
        [&] {
            QString ignored;
            m_program->pressKeys(QStringLiteral("ctrl+s"), &ignored);
            return m_program->waitForWindowTitled(QStringLiteral("Save as PNG"), 1s, &ignored);
        },
        kSaveDeadline));
    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("ctrl+a"), &error));
    ASSERT_TRUE(m_program->typeInFocus(after, &error));
    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("Return"), &error));
    waitForSaved(after);
    EXPECT_EQ(picturesInFolder(), QStringList{QStringLiteral("after.png")}) << "nothing of the cancelled save is left";
}

} // namespace
} // namespace mandalix::xtest
