// The pixel colour pipeline: turns the current position's centred coordinates into a
// palette position, reads that colour from the strip (Picture3) and paints it at
// (i, j) of the picture (Picture1). Works on the window state in place, on the thread
// that owns the surfaces. A pixel fails (log of a non-positive number, division by zero,
// a result that is not finite, a type out of range) by returning false: nothing after
// the failing step is assigned, read or painted, and the picture keeps its old pixel.
#pragma once

#include "state/window_state.h"
#include "surface/surface.h"

namespace mandalix {

// Polar coordinates, channels, palette position, paint. False when the pixel failed.
bool DrawPixel(WindowState& s, const Surface& picture3, Surface& picture1);

// re, gr, bl by the formula set tip, then ComputePalettePosition. False on failure.
bool ComputeChannels(WindowState& s);

// ba by the formula barv. False on failure.
bool ComputePalettePosition(WindowState& s);

// Clamps ba, sets pozic, reads barva from the strip and paints it. False on failure.
bool PaintPixel(WindowState& s, const Surface& picture3, Surface& picture1);

} // namespace mandalix
