// Entry point of the real-window tests: starts a private X display (Xvfb with openbox),
// connects this process to it through Qt's xcb platform so that tests can take
// screenshots, runs the tests, and ends the display. When the display cannot be started
// the tests that need it fail with the reason.
#include "window/x_session.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // gtest_discover_tests lists the tests at build time: no display is needed for that.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    using mandalix::xtest::sharedSession;
    auto session = std::make_unique<mandalix::xtest::XSession>();
    int result = 1;
    if (session->start(&sharedSession().error)) {
        sharedSession().session = session.get();
        qputenv("DISPLAY", session->display().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("WAYLAND_DISPLAY");
        // The screenshots must be in the screen's own pixels.
        qunsetenv("QT_SCALE_FACTOR");
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::Round);
        // The application goes before the server does, or Qt would see its connection break.
        QGuiApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    } else {
        // Without a display each test that needs one fails with the reason.
        QCoreApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    sharedSession().session = nullptr;
    session->stop();
    return result;
}
