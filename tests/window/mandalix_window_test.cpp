// The real program in a real window: started under Xvfb with openbox, clicked with
// xdotool, read back from screenshots. The picture painted at start-up takes a few
// seconds, so the tests wait for conditions with deadlines and look at the picture only
// where it must stay as it was.
#include "app/expected_controls.h"
#include "window/x_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

constexpr auto kWindowDeadline = 30s;
constexpr auto kPaintDeadline = 60s;
constexpr auto kExitDeadline = 5s;
// The picture counts as finished once it has not changed for this long; while a picture
// is painted the window shows progress many times a second.
constexpr auto kQuietPeriod = 1500ms;

QRect rectOf(const expected::Control& c) { return {c.x, c.y, c.w, c.h}; }

QRect areaOf(const char* name)
{
    const QRect outer = rectOf(*expected::control(name));
    return outer.adjusted(expected::kBorderPx, expected::kBorderPx, -expected::kBorderPx,
                          -expected::kBorderPx);
}

bool isBlack(QRgb pixel) { return (pixel & 0xFFFFFFu) == 0; }

int luma(QRgb pixel) { return (qRed(pixel) * 299 + qGreen(pixel) * 587 + qBlue(pixel) * 114) / 1000; }

QString describe(QRgb pixel)
{
    return QStringLiteral("#%1").arg(pixel & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

// Everything of the window that something may paint on: the shown controls, the caption
// box beside "generation type" and the status line.
QList<QRect> paintedAreas()
{
    QList<QRect> areas;
    for (const expected::Control& c : expected::kControls)
        if (c.isShown)
            areas << rectOf(c);
    areas << QRect(expected::kCaptionBoxX, expected::kCaptionBoxY, expected::kCaptionBoxW,
                   expected::kCaptionBoxH)
          << QRect(expected::kStatusX, expected::kStatusY, expected::kStatusW,
                   expected::kStatusH);
    return areas;
}

// The strip's drawing area holds one colour per column, from the top row to the bottom.
bool columnsAreUniform(const QImage& shot, QString* why = nullptr)
{
    const QRect area = areaOf("Picture3");
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top() + 1; y <= area.bottom(); ++y)
            if (shot.pixel(x, y) != shot.pixel(x, area.top())) {
                if (why)
                    *why = QStringLiteral("column %1 changes colour at row %2")
                               .arg(x - area.left())
                               .arg(y - area.top());
                return false;
            }
    return true;
}

int distinctColumnColours(const QImage& shot)
{
    const QRect area = areaOf("Picture3");
    QSet<QRgb> colours;
    for (int x = area.left(); x <= area.right(); ++x)
        colours.insert(shot.pixel(x, area.top()));
    return static_cast<int>(colours.size());
}

// A strip of sine waves has many colours; the empty surface has one.
bool stripIsPainted(const QImage& shot)
{
    return shot.width() > areaOf("Picture3").right()
        && shot.height() > areaOf("Picture3").bottom() && distinctColumnColours(shot) >= 20
        && columnsAreUniform(shot);
}

QImage region(const QImage& shot, const QRect& rect) { return shot.copy(rect); }

class RealWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const SharedSession& shared = sharedSession();
        ASSERT_NE(shared.session, nullptr) << shared.error.toStdString();
        m_program = std::make_unique<ProgramUnderTest>(*shared.session);
        QString error;
        ASSERT_TRUE(m_program->start(&error)) << error.toStdString();
        ASSERT_TRUE(m_program->findWindow(kWindowDeadline, &error))
            << error.toStdString() << "\n" << m_program->report();
    }

    void TearDown() override { m_program.reset(); }

    bool isMaximized() const
    {
        const QStringList state = m_program->windowState();
        return state.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_VERT"))
            && state.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_HORZ"));
    }

    // Waits until the window is maximized and the start-up strip is on show.
    void waitUntilStartedUp()
    {
        ASSERT_TRUE(waitFor([&] { return isMaximized(); }, kWindowDeadline))
            << "the window manager never marked the window maximized: "
            << m_program->windowState().join(u' ').toStdString() << "\n" << m_program->report();
        ASSERT_TRUE(waitFor([&] { return stripIsPainted(m_program->grab()); }, kPaintDeadline))
            << "no painted palette strip appeared\n" << m_program->report();
    }

    // Waits until an area of the window has stayed the same for the quiet period.
    QImage waitUntilStill(const QRect& rect)
    {
        QImage last = region(m_program->grab(), rect);
        QDeadlineTimer still(kQuietPeriod);
        const bool settled = waitFor(
            [&] {
                QImage now = region(m_program->grab(), rect);
                if (now != last) {
                    last = now;
                    still.setRemainingTime(kQuietPeriod);
                }
                return still.hasExpired();
            },
            kPaintDeadline);
        EXPECT_TRUE(settled) << "the area never stood still\n" << m_program->report();
        return last;
    }

    void click(const char* name)
    {
        const expected::Control& c = *expected::control(name);
        QString error;
        ASSERT_TRUE(m_program->click(c.x + c.w / 2, c.y + c.h / 2, &error))
            << error.toStdString();
    }

    void expectEndsAtOnceWithSuccess()
    {
        QProcess& process = m_program->process();
        ASSERT_TRUE(process.state() == QProcess::NotRunning
                    || process.waitForFinished(static_cast<int>(
                        std::chrono::milliseconds(kExitDeadline).count())))
            << "the program still runs " << kExitDeadline.count() << " s later";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << m_program->report();
        EXPECT_EQ(process.exitCode(), 0) << m_program->report();
    }

    std::unique_ptr<ProgramUnderTest> m_program;
};

TEST_F(RealWindowTest, StartUp_OpensMaximizedOnABlackWindow)
{
    waitUntilStartedUp();
    const QImage shot = m_program->grab();
    const QString saved = QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("window-startup.png"));
    EXPECT_TRUE(shot.save(saved)) << saved.toStdString();

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
