// The failure box in the real program: a file named at start that is no picture gets its
// box centred over the window, also when the window is maximized after the box opened.
#include "window/real_window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

using namespace std::chrono_literals;

QString failureBoxWindow() { return visibleWindowNamed(QStringLiteral("^mandalix$")); }

class FailureBoxWindowTest : public RealWindowTest {
protected:
    QStringList programArguments() const override
    {
        QFile file(notAPicture());
        if (file.open(QIODevice::WriteOnly))
            file.write("not a picture");
        return {notAPicture()};
    }
    void TearDown() override
    {
        RealWindowTest::TearDown();
        QFile::remove(notAPicture());
    }
    static QString notAPicture()
    {
        return QDir::temp().filePath(QStringLiteral("mandalix-not-a-picture-%1.png").arg(QCoreApplication::applicationPid()));
    }
};

TEST_F(FailureBoxWindowTest, TheBoxOpensCentredOverTheWindow)
{
    waitUntilStartedUp();
    QString box;
    ASSERT_TRUE(waitFor([&] { return !(box = failureBoxWindow()).isEmpty(); }, kWindowDeadline))
        << m_program->report();
    const QRect window = geometryOf(QString::number(m_program->window()));
    ASSERT_FALSE(window.isEmpty());
    // The window manager may take a moment to place the box.
    QRect shown;
    const bool isCentred = waitFor([&] {
        shown = geometryOf(box);
        const QPoint off = shown.center() - window.center();
        return !shown.isEmpty() && std::abs(off.x()) <= 40 && std::abs(off.y()) <= 40;
    }, 5s);
    EXPECT_TRUE(isCentred) << "box at " << shown.x() << ", " << shown.y() << " (" << shown.width() << " x "
                           << shown.height() << "), window at " << window.x() << ", " << window.y() << " ("
                           << window.width() << " x " << window.height() << ")";
}

} // namespace
} // namespace mandalix::xtest
