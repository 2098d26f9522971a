// The slide show's command line: --slideshow, --interval SECONDS in both spellings, and
// one line for an interval that is missing, not a number, 0, negative or too long.
#include "app/slide_show_options.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

TEST(SlideShowOptions_Read, TheSlideShowAndItsIntervalOrOneLineWhyNot)
{
    const struct {
        QStringList arguments;
        bool ok;
        bool isSlideShow;
        std::chrono::milliseconds interval;
    } rows[] = {
        {{}, true, false, 8000ms},
        {{"--slideshow"}, true, true, 8000ms},
        {{"--slideshow", "--interval", "3"}, true, true, 3000ms},
        {{"--interval=2.5", "-platform", "xcb"}, true, false, 2500ms},
        {{"--interval", "0.0004"}, true, false, 1ms},
        {{"--interval", "86400"}, true, false, 86400000ms},
        {{"--interval", "0"}, false, false, 8000ms},
        {{"--interval", "-3"}, false, false, 8000ms},
        {{"--interval", "abc"}, false, false, 8000ms},
        {{"--interval=nan"}, false, false, 8000ms},
        {{"--interval", "inf"}, false, false, 8000ms},
        {{"--interval", "86401"}, false, false, 8000ms},
        {{"--interval="}, false, false, 8000ms},
        {{"--slideshow", "--interval"}, false, true, 8000ms},
        {{"--interval", "3\n--slideshow"}, false, false, 8000ms},
        // After "--" come picture names, not options.
        {{"--interval=2", "--", "--slideshow", "--interval=x"}, true, false, 2000ms},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const Result<SlideShowOptions> options = slideShowOptions(row.arguments);
        EXPECT_EQ(options.ok, row.ok);
        if (row.ok) {
            EXPECT_EQ(options.value.isSlideShow, row.isSlideShow);
            EXPECT_EQ(options.value.interval, row.interval);
            EXPECT_TRUE(options.message.isEmpty());
        } else {
            EXPECT_TRUE(options.message.startsWith(QStringLiteral("mandalix: --interval")))
                << options.message.toStdString();
            EXPECT_FALSE(options.message.contains(u'\n'));
        }
    }
}

} // namespace
} // namespace mandalix
