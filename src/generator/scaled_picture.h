// The picture painted at any width and height, for large exports: the window's framing
// (see picture_frame.h), each output pixel the pipeline's colour at a fractional position
// of the window's grid. Paints into 8-bit palette indices with a pool of threads, each
// taking tiles of distances from the centre, so that the terms of r alone are computed
// once for every position at the same distance (up to eight) and written by one thread.
// The calling thread waits and reports progress. The result is the same for any number of
// threads. Nothing fails: a pixel whose pipeline fails is black; a picture too large to
// allocate comes back as a null image.
#pragma once

#include "generator/picture_frame.h"
#include "state/window_state.h"
#include "surface/surface.h"

#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

namespace mandalix {

inline constexpr int kMaxScale = 16;

// The column (or row) of the window's grid that output pixel `index` stands for at
// `scale` times the density: (index + 0.5) / scale - 0.5, so scale 1 gives index itself.
inline double scaledPosition(int index, int scale) { return (index + 0.5) / scale - 0.5; }

// Called on the calling thread now and then while the threads paint, and once at the
// end, with the output rows finished so far (in proportion to the pixels) and the rows.
using ScaledProgress = std::function<void(long long rowsDone, long long rows)>;

// Paints a picture of `size` (1 to kMaxPictureSidePx a side) as an 8-bit indexed image
// whose colour table holds the strip's 68 palette positions and black, with the
// parameters and the coordinate window of `state` and the colours of the strip
// `picture3`. Requires threads >= 1; `state` and `picture3` must not change while it runs.
QImage paintScaled(const WindowState& state, const Surface& picture3, QSize size, int threads,
                   const ScaledProgress& progress = {});

// The (453 * scale)-pixel square. Requires 1 <= scale <= kMaxScale.
inline QImage paintScaled(const WindowState& state, const Surface& picture3, int scale, int threads,
                          const ScaledProgress& progress = {})
{
    return paintScaled(state, picture3, QSize(kPictureSizePx * scale, kPictureSizePx * scale), threads, progress);
}

// Only the given rows of the picture of `size` (each 0..height-1, in any order), as the
// rows of the image returned, top to bottom in the order given: for checking a few rows
// of a very large picture.
QImage paintScaledRows(const WindowState& state, const Surface& picture3, QSize size,
                       const std::vector<int>& rows, int threads, const ScaledProgress& progress = {});

} // namespace mandalix
