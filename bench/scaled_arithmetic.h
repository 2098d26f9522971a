// The baseline of the large pictures: the naive arithmetic (palettePosition) of every
// pixel of a picture of `side` x `side` framed as the renderer frames it, row by row, on
// `threads` threads that take rows in turn. Pure; each call has its own threads.
#pragma once

#include "pixel_arithmetic.h"

#include "state/window_state.h"

namespace mandalix::bench {

// Returns a sum of the positions, so the work cannot be skipped.
double computeScaled(const WindowState& state, const PixelFormulas& f, int side, int threads);

} // namespace mandalix::bench
