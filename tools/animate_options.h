// The renderer's options for a video instead of a picture: --animate painting|cycle|morph
// with --with (the morph's other picture), --fps and --seconds, written to OUT (.webm,
// .mp4 or an animated .png). Pure: nothing is opened or checked on disk. Settings out of
// their bounds are refused here, before anything is painted, in one line naming the field.
#pragma once

#include "render_options.h"

#include <QCommandLineParser>

namespace mandalix {

// The size of a video when --size is not given: the window's own picture as an animated
// PNG; WebM and MP4 need even sides, so they take 1280 x 720.
QSize defaultAnimationSize(const QString& out);

// For an --animate run: sets options.mode, options.animation and options.with from the
// parsed line and OUT, and checks them; for any other run, refuses --with, --fps and
// --seconds. Returns false with `error` set otherwise.
bool readAnimateOptions(const QCommandLineParser& parser, RenderOptions& options, QString& error);

} // namespace mandalix
