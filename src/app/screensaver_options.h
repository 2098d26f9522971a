// The screensaver's command-line options: `--screensaver` paints the slide show into a
// window of someone else's, named by `--window-id ID` (or `--window-id=ID`), by
// $XSCREENSAVER_WINDOW (what XScreenSaver hands its hacks) or by `--root`. Pure functions
// on the argument list and the variable's value, read before the application object
// exists; a value that names no window comes back as one line for stderr.
#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace mandalix {

// X numbers its windows with 29 bits; 0 is no window.
inline constexpr std::uint32_t kMaxWindowId = 0x1FFFFFFF;

struct ScreensaverOptions {
    bool isScreensaver = false;
    // The window to paint into: the screen's root window, or the one numbered windowId.
    bool isRoot = false;
    std::uint32_t windowId = 0;
};

// An X window's number as decimal digits or as hex digits after "0x" (as XScreenSaver
// writes it), 1 up to kMaxWindowId; nothing else, not even a space. Fails with no message.
Result<std::uint32_t> windowIdOf(const QString& text);

// Reads the options from the arguments after the program's name, up to a "--", and the
// value of $XSCREENSAVER_WINDOW (empty when unset). The window is the first of:
// --window-id, the variable (as XScreenSaver starts its hacks with --root and the
// variable both), --root. Which options may go together is the command line's to check.
Result<ScreensaverOptions> screensaverOptions(const QStringList& arguments, const QString& windowVariable);

} // namespace mandalix
