// The slide show's command-line options: `--slideshow` opens it at start-up and
// `--interval SECONDS` (or `--interval=SECONDS`) sets how long each picture stays. A pure
// function on the argument list, read before the application object exists; anything
// else on the command line is left to Qt. A bad value comes back as one line for stderr.
#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>

#include <chrono>

namespace mandalix {

inline constexpr std::chrono::milliseconds kDefaultSlideInterval{8000};
// An interval longer than a day is surely a mistake.
inline constexpr double kMaxSlideIntervalSeconds = 86400;

struct SlideShowOptions {
    bool isSlideShow = false;
    std::chrono::milliseconds interval = kDefaultSlideInterval;
};

// Reads the options from the arguments after the program's name, up to a "--". An
// interval that is missing, not a number, 0, negative or above a day is refused, with
// one line: mandalix: --interval needs a number of seconds
Result<SlideShowOptions> slideShowOptions(const QStringList& arguments);

} // namespace mandalix
