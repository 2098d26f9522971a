// How a picture of any width and height frames the window's coordinate window: pixels
// stay square, the shorter side spans the window's 453 grid positions, and a longer side
// shows more of the pattern on both ends, centred on the window picture's middle. Pure
// arithmetic, safe on any thread; nothing here fails.
#pragma once

#include "surface/surface_sizes.h"

#include <algorithm>

namespace mandalix {

// The largest picture side a large export paints.
inline constexpr int kMaxPictureSidePx = 16384;

// The grid position of the window (column or row, 0..452 across the window's picture)
// that output pixel `index` stands for, along a side of `length` pixels of a picture
// whose shorter side has `shorter` pixels. The pixel's centre, index + 0.5, less the
// extra pixels on each end of a longer side, times grid positions per pixel, less the
// half position: every step but the division and the last subtraction is exact, so a
// side of 453 * k pixels gives (index + 0.5) / k - 0.5 to the bit, and 453 the index.
// Requires 1 <= shorter <= length.
inline double framedPosition(int index, int length, int shorter)
{
    const double extraEachEnd = (length - shorter) / 2.0;
    return (index + 0.5 - extraEachEnd) * kPictureSizePx / shorter - 0.5;
}

// The shorter of a picture's two sides, which fixes its density.
inline int shorterSide(int width, int height) { return std::min(width, height); }

} // namespace mandalix
