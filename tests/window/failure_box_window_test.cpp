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

ToolRun xdotool(const QStringList& arguments)
{
    return runTool(QStringLiteral("xdotool"), arguments, sharedSession().session->environment(), 5s);
}

// A window's rectangle on the screen as xdotool reads it; empty when it cannot.
QRect geometryOf(const QString& window)
{
    const ToolRun run = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    QMap<QByteArray, int> values;
    for (const QByteArray& line : run.out.split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() == 2)
            values[pair[0]] = pair[1].toInt();
    }
    return run.exitCode == 0 ? QRect(values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]) : QRect();
}

QString failureBoxWindow()
{
    const ToolRun run = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), QStringLiteral("^mandalix$")});
    return run.exitCode == 0 ? QString::fromLatin1(run.out.trimmed().split('\n').value(0)) : QString();
}

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
