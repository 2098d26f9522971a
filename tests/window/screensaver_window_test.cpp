// The screensaver in real windows. On the root of the 1920 x 1080 test screen it paints the
// slide show's square centred on black, keeps nothing (no history, no settings, no saves)
// and ends at once with status 0 on SIGTERM and SIGINT. In a window of another program's
// it follows the window's size, and ends when the window goes.
#include "window/real_window_fixture.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <memory>
#include <xcb/xcb.h>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

// The picture's square on the test screen: the shorter side, centred.
const QRect kSquare(420, 0, 1080, 1080);
constexpr auto kEndDeadline = 1s;

// Pixels of the image not black, counted on every third row and column.
int paintedCount(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            count += isBlack(image.pixel(x, y)) ? 0 : 1;
    return count;
}

// The smallest rectangle holding every pixel of the image that is not black.
QRect paintedBox(const QImage& shot)
{
    QRect box;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (!isBlack(shot.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The files under a folder, by their paths relative to it.
QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    return files;
}

class ScreensaverRootTest : public ::testing::TestWithParam<int> { };

TEST_P(ScreensaverRootTest, PaintsTheSquareOnBlackKeepsNothingAndEndsAtOnce)
{
    const SharedSession& shared = sharedSession();
    ASSERT_NE(shared.session, nullptr) << shared.error.toStdString();
    ProgramUnderTest program(*shared.session);
    QString error;
    ASSERT_TRUE(program.start(&error, {QStringLiteral("--screensaver"), QStringLiteral("--root")}))
        << error.toStdString();
    const auto grabScreen = [] {
        return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    };
    // A picture painted to its end stands still for the interval.
    QImage last;
    auto since = std::chrono::steady_clock::now();
    const bool isStill = waitFor(
        [&] {
            const QImage now = grabScreen();
            if (now != last || paintedCount(region(now, kSquare)) == 0) {
                last = now;
                since = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - since >= kQuietPeriod;
        },
        kPaintDeadline);
    ASSERT_TRUE(isStill) << "no picture stood still on the root\n" << program.report();
    QImage outside = last.copy();
    QPainter(&outside).fillRect(kSquare, Qt::black);
    EXPECT_EQ(paintedCount(outside), 0) << "painted outside the centred square";
    EXPECT_GT(paintedCount(region(last, kSquare)), 360 * 360 / 4) << "the square is mostly black";

    ASSERT_EQ(::kill(static_cast<pid_t>(program.process().processId()), GetParam()), 0);
    ASSERT_TRUE(program.process().waitForFinished(static_cast<int>(std::chrono::milliseconds(kEndDeadline).count())))
        << "still running " << std::chrono::milliseconds(kEndDeadline).count() << " ms after the signal";
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);
    EXPECT_EQ(program.errorOutput().toStdString(), "");
    // Its folder is the drives', the history's and the settings'; the two logs are the test's.
    QStringList kept = filesUnder(program.folder());
    kept.removeAll(QStringLiteral("stdout.txt"));
    kept.removeAll(QStringLiteral("stderr.txt"));
    EXPECT_EQ(kept.join(u' ').toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Signals, ScreensaverRootTest, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGTERM ? "Term" : "Int");
                         });

// A plain black window of the test's own on the shared display, standing for XScreenSaver's.
class HostWindow {
public:
    HostWindow(const XSession& session, QSize size)
        : m_connection(xcb_connect(session.display().toLocal8Bit().constData(), nullptr), xcb_disconnect)
    {
        xcb_connection_t* c = m_connection.get();
        if (xcb_connection_has_error(c))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        m_window = xcb_generate_id(c);
        // Beside the window manager, which would frame and place it.
        const std::uint32_t values[] = {screen->black_pixel, 1};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, static_cast<std::uint16_t>(size.width()),
                          static_cast<std::uint16_t>(size.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_map_window(c, m_window);
        xcb_flush(c);
    }
    void resize(QSize size)
    {
        const std::uint32_t values[] = {static_cast<std::uint32_t>(size.width()), static_cast<std::uint32_t>(size.height())};
        xcb_configure_window(m_connection.get(), m_window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
        xcb_flush(m_connection.get());
    }
    void destroy()
    {
        xcb_destroy_window(m_connection.get(), m_window);
        xcb_flush(m_connection.get());
    }
    std::uint32_t id() const { return m_window; }

private:
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> m_connection;
    std::uint32_t m_window = 0;
};

TEST(ScreensaverWindowIdTest, FollowsTheWindowsSizeAndEndsWithIt)
{
    const SharedSession& shared = sharedSession();
    ASSERT_NE(shared.session, nullptr) << shared.error.toStdString();
    HostWindow host(*shared.session, {800, 600});
    ASSERT_NE(host.id(), 0u);
    ProgramUnderTest program(*shared.session);
    QString error;
    ASSERT_TRUE(program.start(&error, {QStringLiteral("--screensaver"), QStringLiteral("--window-id"),
                                       QStringLiteral("0x%1").arg(host.id(), 0, 16)}))
        << error.toStdString();
    // Painting, within the square of the window's height in its middle and nowhere else.
    const auto paintsWithin = [&](const QRect& square) {
        const QImage shot = shared.session->grab(host.id());
        const QRect box = paintedBox(shot);
        return box.isValid() && square.contains(box) && box.width() > square.width() / 2;
    };
    EXPECT_TRUE(waitFor([&] { return paintsWithin({100, 0, 600, 600}); }, kPaintDeadline)) << program.report();

    host.resize({1000, 500});
    EXPECT_TRUE(waitFor([&] { return paintsWithin({250, 0, 500, 500}); }, kPaintDeadline)) << program.report();

    host.destroy();
    ASSERT_TRUE(program.process().waitForFinished(static_cast<int>(std::chrono::milliseconds(kEndDeadline).count())))
        << "still running " << std::chrono::milliseconds(kEndDeadline).count() << " ms after its window went";
    EXPECT_EQ(program.process().exitCode(), 0) << program.report();
}

} // namespace
} // namespace mandalix::xtest
