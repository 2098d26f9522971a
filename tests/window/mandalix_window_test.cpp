// The real program in a real window: started under Xvfb with openbox, clicked with
// xdotool, read back from screenshots. The picture painted at start-up takes a few
// seconds, so the tests wait for conditions with deadlines and look at the picture only
// where it must stay as it was.
#include "window/real_window_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace mandalix::xtest {
namespace {

TEST_F(RealWindowTest, StartUp_OpensMaximizedOnABlackWindow)
{
    waitUntilStartedUp();
    const QImage shot = m_program->grab();
    saveForTheEye(shot, "window-startup.png");

    // Maximized: the whole width of the screen, the height less the title bar.
    EXPECT_EQ(shot.width(), XSession::kScreenWidth);
    EXPECT_LE(shot.height(), XSession::kScreenHeight);
    EXPECT_GE(shot.height(), XSession::kScreenHeight - 60);

    // Everything outside the controls and the caption areas is black, the hidden copy of
    // the picture included (it would stand out right of the picture).
    const QList<QRect> painted = paintedAreas();
    int wrong = 0;
    QString first;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QPoint p(x, y);
            if (isBlack(shot.pixel(p))
                || std::any_of(painted.begin(), painted.end(),
                               [&](const QRect& r) { return r.contains(p); }))
                continue;
            if (wrong++ == 0)
                first = QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(describe(shot.pixel(p)));
        }
    EXPECT_EQ(wrong, 0) << "pixels outside the controls that are not black; first "
                        << first.toStdString();
}

// A button shows a light face filling its rectangle, with dark letters centred on it.
TEST_F(RealWindowTest, StartUp_ShowsEveryButtonWithALegibleCaption)
{
    waitUntilStartedUp();
    const QImage shot = m_program->grab();
    const QList<QRect> painted = paintedAreas();
    for (const expected::Control& c : expected::kControls) {
        if (!c.isButton)
            continue;
        SCOPED_TRACE(c.name);
        const QRect outer = rectOf(c);
        // The face fills the rectangle: light one pixel inside each edge (the outline,
        // drawn in a shade of the window colour, is black here), black one pixel outside
        // unless something else is painted there (the caption box touches "generation type").
        const QPoint middle = outer.center();
        const struct {
            QPoint inside, outside;
        } edges[] = {
            {{middle.x(), outer.top() + 1}, {middle.x(), outer.top() - 1}},
            {{middle.x(), outer.bottom() - 1}, {middle.x(), outer.bottom() + 1}},
            {{outer.left() + 1, middle.y()}, {outer.left() - 1, middle.y()}},
            {{outer.right() - 1, middle.y()}, {outer.right() + 1, middle.y()}},
        };
        for (const auto& edge : edges) {
            EXPECT_GE(luma(shot.pixel(edge.inside)), 180)
                << "inside (" << edge.inside.x() << ", " << edge.inside.y() << ")";
            const bool besideSomething =
                std::any_of(painted.begin(), painted.end(),
                            [&](const QRect& r) { return r.contains(edge.outside); });
            EXPECT_TRUE(besideSomething || isBlack(shot.pixel(edge.outside)))
                << "outside (" << edge.outside.x() << ", " << edge.outside.y() << ")";
        }

        const QRect face = outer.adjusted(3, 3, -3, -3);
        int light = 0;
        int dark = 0;
        QRect letters;
        for (int y = face.top(); y <= face.bottom(); ++y)
            for (int x = face.left(); x <= face.right(); ++x) {
                const int l = luma(shot.pixel(x, y));
                if (l >= 180)
                    ++light;
                if (l < 100) {
                    ++dark;
                    letters |= QRect(x, y, 1, 1);
                }
            }
        const int area = face.width() * face.height();
        EXPECT_GE(light, area * 6 / 10) << "a light face";
        const QString caption = c.caption ? QString::fromLatin1(c.caption) : QString();
        const int letterCount =
            c.caption ? static_cast<int>(caption.size() - caption.count(u' ')) : 20;
        EXPECT_GE(dark, 3 * letterCount) << "dark letters";
        EXPECT_LE(dark, area / 3) << "letters, not a dark face";
        // Centred across: the letters leave about as much face to their left as to their right.
        EXPECT_LE(std::abs((letters.left() - face.left()) - (face.right() - letters.right())), 3);
        // Every character takes at least three pixels across.
        EXPECT_GE(letters.width(), 3 * static_cast<int>(c.caption ? caption.size() : 20));
    }
}

TEST_F(RealWindowTest, StartUp_PaintsTheStripInUniformColumnsInsideItsBorder)
{
    waitUntilStartedUp();
    const QImage shot = m_program->grab();
    QString why;
    EXPECT_TRUE(columnsAreUniform(shot, &why)) << why.toStdString();
    EXPECT_GE(distinctColumnColours(shot), 20);

    // No channel of the strip goes above 252.
    const QRect area = areaOf("Picture3");
    for (int x = area.left(); x <= area.right(); ++x) {
        const QRgb p = shot.pixel(x, area.top());
        ASSERT_LE(std::max({qRed(p), qGreen(p), qBlue(p)}), 252) << "column " << x - area.left();
    }

    // The border: each of its two rings' sides is drawn in one shade along its length, so
    // the strip neither spills onto it nor leaves a gap under it.
    const QRect outer = rectOf(*expected::control("Picture3"));
    for (int ring = 0; ring < expected::kBorderPx; ++ring) {
        SCOPED_TRACE(testing::Message() << "border ring " << ring);
        const int top = outer.top() + ring;
        const int bottom = outer.bottom() - ring;
        const int left = outer.left() + ring;
        const int right = outer.right() - ring;
        for (int x = area.left(); x <= area.right(); ++x) {
            ASSERT_EQ(shot.pixel(x, top), shot.pixel(area.left(), top)) << "top, x " << x;
            ASSERT_EQ(shot.pixel(x, bottom), shot.pixel(area.left(), bottom)) << "bottom, x " << x;
        }
        for (int y = area.top(); y <= area.bottom(); ++y) {
            ASSERT_EQ(shot.pixel(left, y), shot.pixel(left, area.top())) << "left, y " << y;
            ASSERT_EQ(shot.pixel(right, y), shot.pixel(right, area.top())) << "right, y " << y;
        }
    }
}

TEST_F(RealWindowTest, ChangePalette_ChangesTheStripAndLeavesThePicture)
{
    waitUntilStartedUp();
    const QRect strip = areaOf("Picture3");
    const QRect picture = areaOf("Picture1");
    const QImage pictureBefore = waitUntilStill(picture);
    const QImage stripBefore = region(m_program->grab(), strip);

    click("Command4");
    QImage shot;
    ASSERT_TRUE(waitFor(
        [&] {
            shot = m_program->grab();
            return region(shot, strip) != stripBefore && stripIsPainted(shot);
        },
        kPaintDeadline))
        << "the strip did not change\n" << m_program->report();
    // A picture painted after the strip would show within the quiet period.
    EXPECT_TRUE(waitUntilStill(picture) == pictureBefore) << "the picture changed";
}

TEST_F(RealWindowTest, Exit_EndsTheProgramAtOnce)
{
    ASSERT_TRUE(waitFor([&] { return isMaximized(); }, kWindowDeadline)) << m_program->report();
    // Whatever start-up is still painting, "exit" does not wait for it.
    click("Command2");
    expectEndsAtOnceWithSuccess();
}

TEST_F(RealWindowTest, WindowDestroyedFromOutside_EndsTheProgramAtOnce)
{
    waitUntilStartedUp();
    QString error;
    ASSERT_TRUE(m_program->destroyWindow(&error)) << error.toStdString();
    expectEndsAtOnceWithSuccess();
}

TEST_F(RealWindowTest, CloseWindow_EndsTheProgramAtOnce)
{
    waitUntilStartedUp();
    QString error;
    // openbox closes the active window on Alt+F4, as the close button of its title bar does.
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("alt+F4"), &error)) << error.toStdString();
    expectEndsAtOnceWithSuccess();
}

TEST(NoDisplay_Start, EndsWithAOneLineMessageAndAFailureCode)
{
    const struct {
        const char* name;
        QString display; // empty: DISPLAY unset
    } rows[] = {
        {"DISPLAY unset", QString()},
        {"no server on the display",
         QStringLiteral(":%1").arg(freeDisplayNumber(XSession::kFirstDisplay + 100))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        if (!row.display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), row.display);
        QTemporaryDir dir;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.insert(QStringLiteral("MANDALIX_DRIVE_C"), dir.path());
        env.insert(QStringLiteral("MANDALIX_DRIVE_D"), dir.path());

        const ToolRun run =
            runTool(QStringLiteral(MANDALIX_EXECUTABLE), {}, env, std::chrono::seconds(20));
        // finished means a normal exit, not a crash signal.
        ASSERT_TRUE(run.finished) << "ended by a signal or still running";
        EXPECT_NE(run.exitCode, 0);
        const QString message = QString::fromLocal8Bit(run.err).trimmed();
        EXPECT_FALSE(message.contains(u'\n')) << "more than one line:\n" << message.toStdString();
        EXPECT_TRUE(message.startsWith(QStringLiteral("mandalix:"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("display"), Qt::CaseInsensitive))
            << message.toStdString();
        if (!row.display.isEmpty()) {
            EXPECT_TRUE(message.contains(row.display)) << message.toStdString();
        }
    }
}

} // namespace
} // namespace mandalix::xtest
