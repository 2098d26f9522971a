// Colour cycling in the slide show's window: Y cycles the picture on show only once it is
// painted, over the frame's place; Y again or any other key stops it (that key still doing
// what it does), and so does the next picture coming.
#include "app/slide_show_window.h"

#include "app/colour_cycle_view.h"

#include <QTest>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

class SlideWindowCycling : public ::testing::Test {
protected:
    std::unique_ptr<SlideShowWindow> open(std::chrono::milliseconds interval, std::chrono::milliseconds pass)
    {
        SlideShowSettings settings;
        settings.sidePx = 120;
        settings.interval = interval;
        settings.passDuration = pass;
        settings.threads = 2;
        WindowState window;
        window.nac = 3;
        auto show = std::make_unique<SlideShowWindow>(window, m_clock, Drives{}, settings, nullptr);
        show->resize(300, 200);
        show->show();
        return show;
    }
    // Presses Y until the colours cycle: before the picture is painted it does nothing.
    static bool startCycling(SlideShowWindow& show)
    {
        return QTest::qWaitFor(
            [&] {
                if (!show.isCyclingColours())
                    QTest::keyClick(&show, Qt::Key_Y);
                return show.isCyclingColours();
            },
            10000);
    }

    FixedClock m_clock{QDateTime(QDate(2026, 12, 9), QTime(8, 15, 0, 125))};
};

TEST_F(SlideWindowCycling, YCyclesThePaintedPictureOverTheFrameAndAKeyStopsItDoingWhatItDoes)
{
    {
        const auto slow = open(1h, 60s);
        ASSERT_TRUE(QTest::qWaitFor([&] { return slow->pictureOnShow().has_value(); }, 5000));
        QTest::keyClick(slow.get(), Qt::Key_Y);
        EXPECT_FALSE(slow->isCyclingColours()) << "a picture still being painted does not cycle";
    }
    const auto show = open(1h, 0ms);
    ASSERT_TRUE(startCycling(*show));
    const ColourCycleView& cycle = *show->colourCycle();
    EXPECT_EQ(cycle.geometry(), QRect((300 - 120) / 2, (200 - 120) / 2, 120, 120)) << "over the frame";
    const std::optional<PictureRecord> first = show->pictureOnShow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cycle.shift() >= 2; }, 5000)) << "the colours move";

    QTest::keyClick(show.get(), Qt::Key_Y);
    EXPECT_FALSE(show->isCyclingColours()) << "Y again stops it";
    ASSERT_TRUE(startCycling(*show));
    EXPECT_EQ(cycle.shift(), 0) << "each start begins with the colours in place";
    QTest::keyClick(show.get(), Qt::Key_Right);
    EXPECT_FALSE(show->isCyclingColours());
    EXPECT_TRUE(QTest::qWaitFor([&] { return show->pictureOnShow() != first; }, 5000)) << "and Right went on";
}

TEST_F(SlideWindowCycling, TheNextPictureOfTheShowStopsTheColours)
{
    const auto show = open(700ms, 0ms);
    ASSERT_TRUE(startCycling(*show));
    const std::optional<PictureRecord> cycled = show->pictureOnShow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !show->isCyclingColours(); }, 10000));
    EXPECT_NE(show->pictureOnShow(), cycled) << "stopped by the next picture, not before";
}

} // namespace
} // namespace mandalix
