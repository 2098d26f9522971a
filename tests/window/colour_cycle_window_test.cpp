// Colour cycling in the real window: Y makes the colours flow through the picture on
// screen, and a key stops it, leaving the picture exactly as it was.
#include "window/real_window_fixture.h"

#include <gtest/gtest.h>

namespace mandalix::xtest {
namespace {

class ColourCycleWindowTest : public RealWindowTest { };

TEST_F(ColourCycleWindowTest, YCyclesTheColoursOnScreenAndAKeyStopsItLeavingThePicture)
{
    ASSERT_NO_FATAL_FAILURE(waitUntilStartedUp());
    const QImage before = waitUntilPictureIsStill();
    QString error;
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("y"), &error)) << error.toStdString();
    QImage cycling;
    ASSERT_TRUE(waitFor([&] { return (cycling = pictureOf(m_program->grab())) != before; }, kPaintDeadline))
        << "the colours move on screen";
    EXPECT_EQ(cycling.size(), before.size());
    EXPECT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) != cycling; }, kPaintDeadline)) << "and go on moving";
    ASSERT_TRUE(m_program->pressKeys(QStringLiteral("Escape"), &error)) << error.toStdString();
    EXPECT_TRUE(waitFor([&] { return pictureOf(m_program->grab()) == before; }, kPaintDeadline))
        << "a key stops it and the picture is as it was";
    EXPECT_EQ(waitUntilPictureIsStill(), before);
}

} // namespace
} // namespace mandalix::xtest
