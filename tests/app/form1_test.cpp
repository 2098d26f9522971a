#include "app/expected_controls.h"
#include "app/form1.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <tuple>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

constexpr auto kCommandDeadline = 20s;

struct SurfaceImages {
    QImage form1, picture1, picture2, picture3;
};

// Waits for a condition while the event loop runs (the views poll on a timer).
bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_drive.isValid());
        m_form.show();
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    }

    // Runs the start-up sequence and waits until it is done.
    void startUp()
    {
        m_form.start();
        ASSERT_TRUE(m_form.worker().waitUntilIdle(kCommandDeadline));
    }

    void waitIdle() { ASSERT_TRUE(m_form.worker().waitUntilIdle(kCommandDeadline)); }

    // Read only while the worker is idle: waitUntilIdle orders its writes before this.
    SurfaceImages images() const
    {
        const Surfaces& s = m_program.surfaces;
        return {s.Form1.image(), s.Picture1.image(), s.Picture2.image(), s.Picture3.image()};
    }

    QWidget* widget(const char* name) const
    {
        return m_form.findChild<QWidget*>(QString::fromLatin1(name));
    }

    QPushButton* button(const char* name) const
    {
        return m_form.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    QTemporaryDir m_drive;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 9), QTime(10, 15, 30, 250))};
    Session m_program{m_clock, Drives{m_drive.path(), m_drive.path()}};
    Form1 m_form{m_program, nullptr, std::chrono::milliseconds(0)};
};

TEST_F(Form1Test, Controls_SitAtTheirPlacesWithTheirCaptions)
{
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Form1"));
    EXPECT_EQ(m_form.findChildren<QPushButton*>().size(), 11 + 3)
        << "the layout's, \"variations\", \"favourite palettes\" and \"edit\"";
    const auto* variations = m_form.findChild<QPushButton*>(QStringLiteral("VariationsButton"));
    ASSERT_NE(variations, nullptr);
    EXPECT_EQ(variations->geometry(), QRect(expected::kVariationsX, expected::kVariationsY,
                                            expected::kVariationsW, expected::kVariationsH));
    const auto* edit = m_form.findChild<QPushButton*>(QStringLiteral("EditorButton"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(expected::kVariationsX, expected::kEditorY, expected::kVariationsW,
                                      expected::kVariationsH));
    const auto* favourites = m_form.findChild<QPushButton*>(QStringLiteral("FavouritesButton"));
    ASSERT_NE(favourites, nullptr);
    EXPECT_EQ(favourites->geometry(), QRect(expected::kFavouritesX, expected::kFavouritesY,
                                            expected::kFavouritesW, expected::kFavouritesH));
    for (const expected::Control& row : expected::kControls) {
        SCOPED_TRACE(row.name);
        QWidget* w = widget(row.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), &m_form);
        EXPECT_EQ(w->geometry(), QRect(row.x, row.y, row.w, row.h));
        EXPECT_EQ(w->isVisible(), row.isShown);
        auto* asButton = qobject_cast<QPushButton*>(w);
        ASSERT_EQ(asButton != nullptr, row.isButton);
        if (!asButton)
            continue;
        if (row.caption)
            EXPECT_EQ(asButton->text(), QString::fromLatin1(row.caption));
        else
            EXPECT_TRUE(asButton->text().contains(QStringLiteral("mandalix"))) << "credit line";
        EXPECT_FALSE(asButton->text().contains(u'&'));
        EXPECT_TRUE(asButton->shortcut().isEmpty());
    }
}

TEST_F(Form1Test, Surfaces_HaveTwoPixelSunkenBordersAroundTheirDrawingAreas)
{
    const struct {
        const char* name;
        QSize area;
    } rows[] = {
        {"Picture1", {expected::kPictureAreaPx, expected::kPictureAreaPx}},
        {"Picture2", {expected::kPictureAreaPx, expected::kPictureAreaPx}},
        {"Picture3", {expected::kStripAreaW, expected::kStripAreaH}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* frame = m_form.findChild<QFrame*>(QString::fromLatin1(row.name));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->frameShadow(), QFrame::Sunken);
        EXPECT_EQ(frame->contentsRect(),
                  QRect(QPoint(expected::kBorderPx, expected::kBorderPx), row.area));
    }
    EXPECT_TRUE(widget("Picture2")->isHidden());
    EXPECT_EQ(widget("Picture2")->size(), widget("Picture1")->size());
}

// Follows the focus chain the way Tab does: only shown controls that take focus by Tab.
TEST_F(Form1Test, TabOrder_FollowsTheTabColumnAndSkipsTheHiddenCopy)
{
    std::map<int, const char*> byTab;
    for (const expected::Control& row : expected::kControls)
        if (row.isShown)
            byTab[row.tab] = row.name;
    QStringList expectedOrder;
    for (const auto& [tab, name] : byTab)
        expectedOrder << QString::fromLatin1(name);
    expectedOrder << QStringLiteral("Command1"); // and round again

    QStringList chain{QStringLiteral("Command1")};
    QWidget* at = widget("Command1");
    ASSERT_NE(at, nullptr);
    while (chain.size() < expectedOrder.size()) {
        at = at->nextInFocusChain();
        if (at == &m_form || (at->focusPolicy() & Qt::TabFocus) != Qt::TabFocus
            || !at->isVisible() || !at->isEnabled())
            continue;
        chain << at->objectName();
    }
    EXPECT_EQ(chain, expectedOrder);

    // The same order from real Tab presses, starting where start-up puts the focus.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    ASSERT_EQ(QApplication::focusWidget(), widget("Command1"));
    QStringList pressed{QStringLiteral("Command1")};
    while (pressed.size() < expectedOrder.size()) {
        ASSERT_NE(QApplication::focusWidget(), nullptr) << "focus lost after " << pressed.size();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        pressed << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(pressed, expectedOrder);
}

TEST_F(Form1Test, Focus_IsOnNewImageOldPaletteOnceShown)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    EXPECT_EQ(QApplication::focusWidget(), widget("Command1"));
    EXPECT_EQ(m_form.focusWidget(), widget("Command1"));
}

// Fusion draws a push button with a 1-pixel outline and a 1-pixel bevel inside it on
// every side, so the label has the height less 2 x 2 pixels. Across, a glyph's ink may
// stand one pixel beyond its advance, so one more pixel each side keeps the first and
// last letters off the bevel: the width less 2 x 3 pixels.
TEST_F(Form1Test, Captions_FitTheirButtonsInTheInterfaceFont)
{
    for (const expected::Control& row : expected::kControls) {
        if (!row.isButton)
            continue;
        SCOPED_TRACE(row.name);
        QPushButton* b = button(row.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(QFontInfo(b->font()).family(), QStringLiteral("DejaVu Sans"));
        const QFontMetrics metrics(b->font());
        EXPECT_LE(metrics.height(), row.h - 4);
        EXPECT_LE(metrics.horizontalAdvance(b->text()), row.w - 6);
        // A printed line of the help panel is 15 pixels below the one before.
        EXPECT_LE(metrics.height(), 15);
    }
}

TEST_F(Form1Test, CreditAndTitleButtons_ChangeNothing)
{
    startUp();
    for (const char* name : {"Command9", "Command10"}) {
        SCOPED_TRACE(name);
        const SurfaceImages before = images();
        const WindowState stateBefore = m_program.state;
        Rnd rndBefore = m_program.rnd;

        QTest::mouseClick(button(name), Qt::LeftButton);
        waitIdle();

        const SurfaceImages after = images();
        EXPECT_EQ(after.form1, before.form1);
        EXPECT_EQ(after.picture1, before.picture1);
        EXPECT_EQ(after.picture2, before.picture2);
        EXPECT_EQ(after.picture3, before.picture3);
        EXPECT_EQ(m_program.state, stateBefore);
        Rnd rndAfter = m_program.rnd;
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(rndAfter.next(), rndBefore.next()) << "draw " << k;
    }
}

TEST_F(Form1Test, ChangePalette_RedrawsTheStripOnlyAndTheViewShowsIt)
{
    startUp();
    const SurfaceImages before = images();

    QTest::mouseClick(button("Command4"), Qt::LeftButton);
    waitIdle();

    const SurfaceImages after = images();
    EXPECT_NE(after.picture3, before.picture3);
    EXPECT_EQ(after.picture1, before.picture1);
    EXPECT_EQ(after.picture2, before.picture2);
    EXPECT_EQ(after.form1, before.form1);
    SurfaceView* strip = m_form.view("Picture3");
    ASSERT_NE(strip, nullptr);
    EXPECT_TRUE(waitFor([&] { return strip->snapshot() == after.picture3; }, 5s));
}

TEST_F(Form1Test, GenerationType_CyclesOneToFourInClickOrder)
{
    startUp();
    ASSERT_EQ(m_program.state.nac, 4);
    for (double expectedNac : {1, 2, 3, 4, 1}) {
        QTest::mouseClick(button("Command7"), Qt::LeftButton);
        waitIdle();
        EXPECT_EQ(m_program.state.nac, expectedNac);
    }
    // Clicks made before the worker gets to them all run, one after another.
    for (int k = 0; k < 3; ++k)
        QTest::mouseClick(button("Command7"), Qt::LeftButton);
    waitIdle();
    EXPECT_EQ(m_program.state.nac, 4);
}

// A press reports its position in the drawing area, inside the 2-pixel border, for any
// mouse button.
TEST_F(Form1Test, SurfacePress_ReportsTheDrawingAreaPosition)
{
    for (const char* name : {"Picture1", "Picture3"}) {
        for (Qt::MouseButton mouseButton : {Qt::LeftButton, Qt::RightButton}) {
            SCOPED_TRACE(testing::Message() << name << " button " << mouseButton);
            SurfaceView* view = m_form.view(name);
            ASSERT_NE(view, nullptr);
            QSignalSpy spy(view, &SurfaceView::pressed);
            QTest::mousePress(view, mouseButton, {}, QPoint(2 + 5, 2 + 7));
            QTest::mouseRelease(view, mouseButton, {}, QPoint(2 + 5, 2 + 7));
            ASSERT_EQ(spy.count(), 1);
            EXPECT_EQ(spy.at(0).at(0).toInt(), 5);
            EXPECT_EQ(spy.at(0).at(1).toInt(), 7);
        }
    }
    waitIdle();
}

// A press acts at once, before the release: on the strip it picks the colour under the
// pointer, on the picture it gives that colour to every pixel of the colour under the
// pointer. Besides (5, 7) of the strip, the positions are chosen where the colour two pixels
// away differs, so a press read at the widget's position instead of the drawing area's
// would pick or replace another colour.
TEST_F(Form1Test, SurfacePresses_PickOnTheStripThenReplaceOnThePicture)
{
    startUp();
    const Surface& strip = m_program.surfaces.Picture3;
    const Surface& picture = m_program.surfaces.Picture1;
    constexpr int kBorder = expected::kBorderPx;

    int column = -1;
    for (int x = 2; x + 2 < strip.width() && column < 0; ++x) {
        const Colour c = strip.Point(x, 7);
        if (c != strip.Point(x - 2, 7) && c != strip.Point(x + 2, 7) && c != strip.Point(5, 7))
            column = x;
    }
    ASSERT_GE(column, 0);
    for (const QPoint at : {QPoint(5, 7), QPoint(column, 7)}) {
        SCOPED_TRACE(testing::Message() << "strip (" << at.x() << ", " << at.y() << ")");
        const Colour expectedColour = strip.Point(at.x(), at.y());
        ASSERT_NE(m_program.state.color, expectedColour) << "the press would show nothing";
        const QPoint widgetAt = at + QPoint(kBorder, kBorder);
        QTest::mousePress(m_form.view("Picture3"), Qt::LeftButton, {}, widgetAt);
        waitIdle();
        EXPECT_EQ(m_program.state.color, expectedColour);
        QTest::mouseRelease(m_form.view("Picture3"), Qt::LeftButton, {}, widgetAt);
    }

    // Searched from well inside the picture, where its colours come from the strip and
    // recur, rather than from a corner that may keep single pixels of noise.
    const Colour picked = m_program.state.color;
    QPoint at(-1, -1);
    for (int y = 100; y + 2 < picture.height() && at.x() < 0; ++y)
        for (int x = 100; x + 2 < picture.width() && at.x() < 0; ++x) {
            const Colour c = picture.Point(x, y);
            if (c != picked && c != picture.Point(x + 2, y) && c != picture.Point(x, y + 2)
                && c != picture.Point(x + 2, y + 2))
                at = QPoint(x, y);
        }
    ASSERT_GE(at.x(), 0);
    const QImage before = picture.image();
    const QRgb old = before.pixel(at);
    QImage expectedImage = before;
    int recoloured = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) == old) {
                expectedImage.setPixel(x, y, toArgb(picked));
                ++recoloured;
            }
    ASSERT_GT(recoloured, 1) << "a colour found in one place only";
    SCOPED_TRACE(testing::Message() << "picture (" << at.x() << ", " << at.y() << "), "
                                    << recoloured << " pixels of its colour");

    const QPoint widgetAt = at + QPoint(kBorder, kBorder);
    QTest::mousePress(m_form.view("Picture1"), Qt::LeftButton, {}, widgetAt);
    waitIdle();
    EXPECT_EQ(picture.image(), expectedImage);
    QTest::mouseRelease(m_form.view("Picture1"), Qt::LeftButton, {}, widgetAt);
    waitIdle();
}

} // namespace
} // namespace mandalix
