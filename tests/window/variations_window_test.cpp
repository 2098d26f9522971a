// Variations and the editor in the real program. V opens the grid with the picture on
// show in its selected middle cell, painted as the engine paints it at the cell's size; a
// click on a child makes it the parent; Enter paints it in the window as the renderer
// paints its record; Ctrl+Z brings back the picture before. E opens the editor, whose
// preview is the engine's picture; a slider moved by a key repaints it; Ctrl+Return
// paints the edit in the window and Ctrl+Z brings the original back.
#include "window/real_window_fixture.h"

#include "output/params_file.h"
#include "variations/grid_painter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

// The selected cell's frame, and how wide it is.
constexpr QRgb kSelectedFrame = 0xFFFFD200;
constexpr int kFramePx = 3;

QString variationsWindow() { return visibleWindowNamed(QStringLiteral("^mandalix variations$")); }

// The selected cell's outer rectangle in a shot of the variations window: the box of the
// rows that hold a long run of the frame's colour.
QRect selectedCell(const QImage& shot)
{
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        int run = 0;
        for (int x = 0; x < shot.width(); ++x) {
            run = shot.pixel(x, y) == kSelectedFrame ? run + 1 : 0;
            if (run >= 40)
                box |= QRect(x - run + 1, y, run, 1);
        }
    }
    return box;
}

QImage insideFrame(const QImage& shot, const QRect& cell)
{
    return shot.copy(cell.adjusted(kFramePx, kFramePx, -kFramePx, -kFramePx)).convertToFormat(QImage::Format_RGB32);
}

class VariationsWindowTest : public RealWindowTest {
protected:
    void SetUp() override
    {
        m_parent = m_dir.filePath(QStringLiteral("parent.png"));
        const ToolRun render = runTool(QStringLiteral(MANDALIX_RENDER_EXECUTABLE),
                                       {QStringLiteral("--seed"), QStringLiteral("4321.5"), m_parent},
                                       QProcessEnvironment::systemEnvironment(), kPaintDeadline);
        ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
        RealWindowTest::SetUp();
    }
    QStringList programArguments() const override { return {m_parent}; }

    QImage shotOf(const QString& window) const { return sharedSession().session->grab(window.toULong()); }

    // Waits until the selected cell stands still and shows `expected` inside its frame.
    void expectSelectedCellShows(const QString& window, const QImage& expected, QRect* cell)
    {
        QImage shown;
        const bool shows = waitFor([&] {
            const QImage shot = shotOf(window);
            *cell = selectedCell(shot);
            shown = cell->isEmpty() ? QImage() : insideFrame(shot, *cell);
            return shown == expected;
        }, kPaintDeadline);
        EXPECT_TRUE(shows) << "cell " << cell->width() << " x " << cell->height();
    }

    QTemporaryDir m_dir;
    QString m_parent;
};

TEST_F(VariationsWindowTest, VOpensTheGrid_AClickWalks_EnterAdopts_CtrlZUndoes)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage opened = QImage(m_parent).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) == opened; }, kPaintDeadline))
        << "the picture given on the command line is on show";
    const Result<PictureRecord> parent = readParamsFile(m_parent);
    ASSERT_TRUE(parent.ok) << parent.message.toStdString();

    QString error;
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("v"), &error)) << error.toStdString();
    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = variationsWindow()).isEmpty(); }, kWindowDeadline));
    QRect cell;
    ASSERT_TRUE(waitFor([&] { return !(cell = selectedCell(shotOf(window))).isEmpty(); }, kPaintDeadline));
    const QSize cellPx = cell.size();
    ASSERT_EQ(cellPx.width(), cellPx.height());
    const QImage centre = paintCell(parent.value, cellPx).image;
    ASSERT_NO_FATAL_FAILURE(expectSelectedCellShows(window, insideFrame(centre, QRect(QPoint(), cellPx)), &cell));
    saveForTheEye(shotOf(window), "variations.png");

    // The child left of the middle becomes the parent, in the middle.
    const QRect left = cell.translated(-cell.width() - 4, 0);
    QImage child;
    ASSERT_TRUE(waitFor([&] {
        child = insideFrame(shotOf(window), left);
        return child.pixel(child.width() / 2, child.height() / 2) != 0xFF282828; // painted, not waiting
    }, kPaintDeadline));
    child = insideFrame(shotOf(window), left);
    ASSERT_TRUE(xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                         QString::number(left.center().x()), QString::number(left.center().y()),
                         QStringLiteral("click"), QStringLiteral("1")}).exitCode == 0);
    ASSERT_NO_FATAL_FAILURE(expectSelectedCellShows(window, child, &cell));

    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("Return"), &error)) << error.toStdString();
    EXPECT_TRUE(waitFor([&] { return variationsWindow().isEmpty(); }, kExitDeadline)) << "adopting closes the grid";
    QImage adopted;
    ASSERT_TRUE(waitFor([&] { return (adopted = waitUntilPictureIsStill()) != opened; }, kPaintDeadline));

    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("ctrl+z"), &error)) << error.toStdString();
    EXPECT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) == opened; }, kPaintDeadline))
        << "Ctrl+Z brings the picture before back";

    // The adopted child, kept once it gave way: the child of the parent that the cell
    // showed, painted in the window as the renderer paints its record.
    QString keptPath;
    ASSERT_TRUE(waitFor([&] {
        for (const QFileInfo& file : QDir(m_program->historyFolder()).entryInfoList({QStringLiteral("T*.png")}))
            if (const Result<PictureRecord> read = readParamsFile(file.filePath());
                read.ok && read.value.lineage.kind == Lineage::Kind::Mutated)
                keptPath = file.filePath();
        return !keptPath.isEmpty();
    }, kPaintDeadline));
    const PictureRecord kept = readParamsFile(keptPath).value;
    EXPECT_EQ(kept.lineage.parent, parent.value.imeslike);
    EXPECT_EQ(insideFrame(paintCell(kept, cellPx).image, QRect(QPoint(), cellPx)), child);
    const QString rendered = m_dir.filePath(QStringLiteral("rendered.png"));
    const ToolRun render = runTool(QStringLiteral(MANDALIX_RENDER_EXECUTABLE), {QStringLiteral("--params"), keptPath, rendered},
                                   QProcessEnvironment::systemEnvironment(), kPaintDeadline);
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    EXPECT_EQ(QImage(rendered).convertToFormat(QImage::Format_RGB32), adopted);
}

// Where `picture` stands in `shot`, looking near the top left; an empty rectangle when not.
QRect placeOf(const QImage& shot, const QImage& picture)
{
    for (int top = 0; top < 40; ++top)
        for (int left = 0; left < 40; ++left)
            if (shot.copy(left, top, picture.width(), picture.height()).convertToFormat(QImage::Format_RGB32) == picture)
                return QRect(QPoint(left, top), picture.size());
    return {};
}

TEST_F(VariationsWindowTest, EOpensTheEditor_ASliderRepaints_CtrlReturnApplies_CtrlZUndoes)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage opened = QImage(m_parent).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) == opened; }, kPaintDeadline));
    const PictureRecord parent = readParamsFile(m_parent).value;

    QString error;
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("e"), &error)) << error.toStdString();
    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = visibleWindowNamed(QStringLiteral("^mandalix editor$"))).isEmpty(); },
                        kWindowDeadline));
    const QImage before = paintCell(parent, QSize(453, 453)).image;
    QRect preview;
    ASSERT_TRUE(waitFor([&] { return !(preview = placeOf(shotOf(window), before)).isEmpty(); }, kPaintDeadline))
        << "the preview is the picture on show";

    // The first slider is the rays'; a key moves it one step (two rays).
    PictureRecord edited = parent;
    const bool up = parent.picture.f1 < 24;
    edited.picture.f1 += up ? 2 : -2;
    ASSERT_TRUE(m_program->pressKeysInFocus(up ? QStringLiteral("Right") : QStringLiteral("Left"), &error)) << error.toStdString();
    const QImage after = paintCell(edited, QSize(453, 453)).image;
    EXPECT_TRUE(waitFor([&] { return shotOf(window).copy(preview).convertToFormat(QImage::Format_RGB32) == after; },
                        kPaintDeadline)) << "the preview shows the edited picture";
    saveForTheEye(shotOf(window), "editor.png");

    ASSERT_TRUE(m_program->pressKeysInFocus(QStringLiteral("ctrl+Return"), &error)) << error.toStdString();
    EXPECT_TRUE(waitFor([&] { return visibleWindowNamed(QStringLiteral("^mandalix editor$")).isEmpty(); }, kExitDeadline));
    QImage applied;
    ASSERT_TRUE(waitFor([&] { return (applied = waitUntilPictureIsStill()) != opened; }, kPaintDeadline));
    EXPECT_EQ(applied, after) << "the window paints the edited record";
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("ctrl+z"), &error)) << error.toStdString();
    EXPECT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) == opened; }, kPaintDeadline))
        << "Ctrl+Z brings the original back";
}

} // namespace
} // namespace mandalix::xtest
