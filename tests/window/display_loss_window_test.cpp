// The display going away under the running program, on a display of the test's own (the
// shared one serves the other tests): the program ends at once with status 1 and one line,
// and the picture on show is kept in the history, as "exit" keeps it.
#include "window/real_window_fixture.h"



#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

class DisplayLossWindowTest : public RealWindowTest {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(m_display.start(&error)) << error.toStdString();
        m_program = std::make_unique<ProgramUnderTest>(m_display);
        ASSERT_TRUE(m_program->start(&error)) << error.toStdString();
        ASSERT_TRUE(m_program->findWindow(kWindowDeadline, &error))
            << error.toStdString() << "\n" << m_program->report();
    }
    XSession m_display;
};

TEST_F(DisplayLossWindowTest, DisplayGone_EndsAtOnceWithOneLineAndKeepsThePictureOnShow)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    waitUntilPictureIsStill();
    const QImage shown = pictureOf(m_program->grab());
    ASSERT_FALSE(shown.isNull());

    m_display.endServer();
    QProcess& process = m_program->process();
    ASSERT_TRUE(process.state() == QProcess::NotRunning
                || process.waitForFinished(static_cast<int>(std::chrono::milliseconds(kExitDeadline).count())))
        << "the program still runs " << kExitDeadline.count() << " s after its display went";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << m_program->report();
    EXPECT_EQ(process.exitCode(), 1) << m_program->report();
    EXPECT_EQ(m_program->errorOutput().toStdString(),
              QStringLiteral("mandalix: lost the connection to the display (DISPLAY=%1).\n")
                  .arg(m_display.display())
                  .toStdString());

    expectOnePictureKept(m_program->historyFolder(), shown);
}

} // namespace
} // namespace mandalix::xtest
