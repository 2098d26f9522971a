// Where the slide show puts its picture on a screen: a square as large as the screen's
// shorter side, centred, in the screen's own device pixels; and which position of the
// window's picture grid each of its pixels stands for. Pure functions on values, safe on
// any thread; a screen that cannot take the picture comes back with a sentence.
#pragma once

#include "base/result.h"
#include "surface/surface_sizes.h"

#include <QRect>
#include <QSize>
#include <QString>

namespace mandalix {

// The picture's square on a screen of `screenPx` device pixels: side min(width, height),
// centred (the odd pixel of a difference goes right or down). A screen of no size is no
// screen; one whose shorter side is below the window's picture (453 pixels) is refused.
// The square is in device pixels of the screen; when !ok the message is a sentence for
// the user.
Result<QRect> slideFrameFor(QSize screenPx);

// The column (or row) of the window's grid that pixel `index` of a square of `sidePx`
// stands for: (index + 0.5) / (sidePx / 453) - 0.5, the framing of the window's picture
// drawn at that density. A side of 453 * k gives exactly the k-times export's position.
inline double slidePosition(int index, int sidePx)
{
    return (index + 0.5) / (sidePx / static_cast<double>(kPictureSizePx)) - 0.5;
}

} // namespace mandalix
