// The screensaver's command line: which window it paints into (--window-id before
// $XSCREENSAVER_WINDOW before --root), window numbers in decimal and hex up to X's 29
// bits, and one line for a number that names no window or a screensaver with none.
#include "app/screensaver_options.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(ScreensaverOptions_Read, TheWindowOrOneLineWhyNot)
{
    const struct {
        QStringList arguments;
        const char* variable; // $XSCREENSAVER_WINDOW
        bool ok;
        bool isScreensaver;
        bool isRoot;
        std::uint32_t windowId;
        const char* messageStart; // when !ok
    } rows[] = {
        {{}, "0x200001", true, false, false, 0, ""},
        {{"--screensaver", "--root"}, "", true, true, true, 0, ""},
        // XScreenSaver starts its hacks with --root and names its own window.
        {{"--screensaver", "--root"}, "0x1A00003", true, true, false, 0x1A00003, ""},
        {{"--screensaver"}, "0x1a00003", true, true, false, 0x1A00003, ""},
        {{"--screensaver"}, "4194307", true, true, false, 4194307, ""},
        {{"--screensaver", "--window-id", "0X1F"}, "", true, true, false, 0x1F, ""},
        {{"--window-id=0x1fffffff", "--screensaver"}, "", true, true, false, 0x1FFFFFFF, ""},
        {{"--screensaver", "--window-id", "536870911"}, "", true, true, false, 0x1FFFFFFF, ""},
        // What is given on the line goes before what the environment holds, even when bad.
        {{"--screensaver", "--window-id", "12"}, "0x300000", true, true, false, 12, ""},
        {{"--screensaver", "--window-id", "12"}, "junk", true, true, false, 12, ""},
        {{"--screensaver"}, "junk", false, true, false, 0, "mandalix: $XSCREENSAVER_WINDOW holds"},
        {{"--screensaver"}, "", false, true, false, 0, "mandalix: --screensaver needs a window"},
        {{"--screensaver", "--", "--root"}, "", false, true, false, 0, "mandalix: --screensaver needs a window"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString() + " with " + row.variable);
        const Result<ScreensaverOptions> options = screensaverOptions(row.arguments, QString::fromLatin1(row.variable));
        ASSERT_EQ(options.ok, row.ok) << options.message.toStdString();
        if (row.ok) {
            EXPECT_EQ(options.value.isScreensaver, row.isScreensaver);
            EXPECT_EQ(options.value.isRoot, row.isRoot);
            EXPECT_EQ(options.value.windowId, row.windowId);
        } else {
            EXPECT_TRUE(options.message.startsWith(QString::fromLatin1(row.messageStart))) << options.message.toStdString();
        }
    }
}

TEST(ScreensaverOptions_WindowId, DecimalOrHexAfter0xFromOneTo29Bits)
{
    const struct {
        const char* text;
        bool ok;
        std::uint32_t id;
    } rows[] = {
        {"1", true, 1},
        {"0x1", true, 1},
        {"0xAbC", true, 0xABC},
        {"0010", true, 10}, // a leading zero is not octal
        {"536870911", true, 0x1FFFFFFF},
        {"536870912", false, 0},
        {"0x20000000", false, 0},
        {"99999999999999999999999", false, 0},
        {"0", false, 0},
        {"0x0", false, 0},
        {"0x", false, 0},
        {"", false, 0},
        {"-5", false, 0},
        {"+5", false, 0},
        {" 5", false, 0},
        {"5 ", false, 0},
        {"12abc", false, 0},
        {"0xg", false, 0},
        {"\xd9\xa3", false, 0}, // an Arabic-Indic three is a digit, not an ASCII one
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const Result<std::uint32_t> id = windowIdOf(QString::fromUtf8(row.text));
        EXPECT_EQ(id.ok, row.ok);
        if (row.ok) {
            EXPECT_EQ(id.value, row.id);
        }
    }
}

} // namespace
} // namespace mandalix
