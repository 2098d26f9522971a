// Where the slide show puts its picture on a screen: a square as large as the screen's
// shorter side, centred, in the screen's own device pixels, framed as any picture of that
// size (picture_frame.h). A pure function on values, safe on any thread; a screen that
// cannot take the picture comes back with a sentence.
#pragma once

#include "base/result.h"
#include "surface/surface_sizes.h"

#include <QRect>
#include <QSize>
#include <QString>

namespace mandalix {

// The picture's square on a screen of `screenPx` device pixels: side min(width, height),
// centred (the odd pixel of a difference goes right or down). A screen of no size is no
// screen; one whose shorter side is below `smallestSidePx` (by default the window's
// picture, 453 pixels) is refused. The square is in device pixels of the screen; when !ok
// the message is a sentence for the user.
Result<QRect> slideFrameFor(QSize screenPx, int smallestSidePx = kPictureSizePx);

} // namespace mandalix
