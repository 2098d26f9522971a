#include "progress_line.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

struct Printed {
    QByteArray text;
    ProgressLine::Print print() { return [this](const QByteArray& more) { text += more; }; }
};

TEST(ProgressLine_Terminal, SilentForTheFirstSecondThenRewritesOneLine)
{
    Printed printed;
    const auto start = ProgressLine::Clock::time_point{} + 5s;
    ProgressLine line(true, printed.print(), start);
    line.update("painting", 10, 100, start + 999ms);
    EXPECT_EQ(printed.text, "");
    EXPECT_FALSE(line.isShowing());

    line.update("painting", 10, 100, start + 1000ms);
    line.update("painting", 109, 1000, start + 1100ms); // still 10 %: not printed again
    line.update("painting", 999, 1000, start + 1200ms);
    line.update("writing", 0, 0, start + 1300ms);
    line.finish();
    EXPECT_EQ(printed.text, "\rmandalix-render: painting 10%"
                            "\rmandalix-render: painting 99%"
                            "\rmandalix-render: writing     \n");
    EXPECT_FALSE(line.isShowing());
}

TEST(ProgressLine_Terminal, AShortRenderEndsWithoutALine)
{
    Printed printed;
    const auto start = ProgressLine::Clock::time_point{};
    ProgressLine line(true, printed.print(), start);
    line.update("painting", 100, 100, start + 300ms);
    line.finish();
    EXPECT_EQ(printed.text, "");
}

TEST(ProgressLine_NotATerminal, NeverPrints)
{
    Printed printed;
    const auto start = ProgressLine::Clock::time_point{};
    ProgressLine line(false, printed.print(), start);
    line.update("painting", 50, 100, start + 60s);
    line.finish();
    EXPECT_EQ(printed.text, "");
}

} // namespace
} // namespace mandalix
