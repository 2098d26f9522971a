// The screensaver's whole run, once main() has made the application object: the slide
// show painted into the chosen window until SIGTERM or SIGINT (XScreenSaver's way of
// ending a hack), the window's end or the display's. It keeps nothing on disk. GUI
// thread; a window that is not there ends it at once with one line on stderr.
#pragma once

#include "app/screensaver_options.h"

#include <chrono>

namespace mandalix {

// Runs the event loop and returns the exit status: 0 when ended by a signal or by the
// window's end, 2 when the window named is not there, 1 when the display is not X's.
int runScreensaver(const ScreensaverOptions& options, std::chrono::milliseconds interval);

} // namespace mandalix
