// The renderer's options for runs that make children instead of one picture: the
// variations of a parent (--variations) and the row bred from two parents (--breed),
// written into a folder (--out-dir). Pure: nothing is opened or checked on disk. A line
// that mixes these with what they cannot go with is refused with one line naming both.
#pragma once

#include "render_options.h"

#include <QCommandLineParser>

namespace mandalix {

// Sets options.mode and the children's options from the parsed line; for a picture run,
// refuses the options only children use. Returns false with `error` set otherwise.
bool readChildOptions(const QCommandLineParser& parser, RenderOptions& options, QString& error);

} // namespace mandalix
