// The end of a session (a logout's SIGHUP, a `kill`'s SIGTERM) in the real window: the
// program ends at once as "exit" ends it, with status 0, and the picture on show is kept
// in the history, pixel for pixel.
#include "window/real_window_fixture.h"



#include <gtest/gtest.h>

#include <csignal>

namespace mandalix::xtest {
namespace {

class SignalWindowTest : public RealWindowTest, public ::testing::WithParamInterface<int> { };

TEST_P(SignalWindowTest, EndsAsExitDoesAndKeepsThePictureOnShow)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage shown = waitUntilPictureIsStill();
    ASSERT_FALSE(shown.isNull());

    ASSERT_EQ(::kill(static_cast<pid_t>(m_program->process().processId()), GetParam()), 0);
    ASSERT_NO_FATAL_FAILURE(expectEndsAtOnceWithSuccess());
    EXPECT_EQ(m_program->errorOutput().toStdString(), "");

    expectOnePictureKept(m_program->historyFolder(), shown);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalWindowTest, ::testing::Values(SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGTERM ? "Term" : "Hup");
                         });

} // namespace
} // namespace mandalix::xtest
