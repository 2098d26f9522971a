// The picture painted at several times the window's pixel density, for large exports:
// the same framing as Picture1's drawing area, each output pixel the pipeline's colour
// at a fractional position of the window's grid. Paints with a pool of threads, each
// with its own copy of the window state; the calling thread waits and reports progress.
// The result is the same for any number of threads. Nothing fails: a pixel whose
// pipeline fails stays black.
#pragma once

#include "state/window_state.h"
#include "surface/surface.h"

#include <QImage>

#include <functional>

namespace mandalix {

inline constexpr int kMaxScale = 16;
// Rows a thread takes at a time.
inline constexpr int kScaledBandRows = 16;

// The column (or row) of the window's grid that output pixel `index` stands for at
// `scale` times the density: (index + 0.5) / scale - 0.5, so scale 1 gives index itself.
inline double scaledPosition(int index, int scale) { return (index + 0.5) / scale - 0.5; }

// Called on the calling thread now and then while the threads paint, and once at the
// end, with the output rows finished so far and the rows in all.
using ScaledProgress = std::function<void(long long rowsDone, long long rows)>;

// Paints a (453 * scale)-pixel square in plain order (rows top to bottom, each left to
// right) on black, every pixel once, with the parameters and the coordinate window of
// `state` and the colours of the strip `picture3`. Requires 1 <= scale <= kMaxScale and
// threads >= 1; `state` and `picture3` must not change while it runs.
QImage paintScaled(const WindowState& state, const Surface& picture3, int scale, int threads,
                   const ScaledProgress& progress = {});

} // namespace mandalix
