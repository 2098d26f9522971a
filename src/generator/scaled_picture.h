// The picture painted at any width and height from a window state and its painted strip,
// for the callers that still hold those: thin wrappers over the frame engine
// (frame_engine.h), which paints on the shared pool. Nothing fails: a pixel whose
// pipeline fails is black; a picture too large to allocate comes back as a null image.
#pragma once

#include "generator/frame_engine.h"
#include "generator/picture_frame.h"
#include "state/window_state.h"
#include "surface/surface.h"

#include <QImage>
#include <QSize>

#include <vector>

namespace mandalix {

inline constexpr int kMaxScale = 16;

using ScaledProgress = FrameProgress;

// Paints a picture of `size` (1 to kMaxPictureSidePx a side) as an 8-bit indexed image
// whose colour table holds the strip's 68 palette positions and black, with the
// parameters and the coordinate window of `state` and the colours of the strip
// `picture3`. Requires threads >= 1.
inline QImage paintScaled(const WindowState& state, const Surface& picture3, QSize size, int threads,
                          const ScaledProgress& progress = {})
{
    return FrameEngine(state, picture3).paint(size, threads, progress);
}

// The (453 * scale)-pixel square. Requires 1 <= scale <= kMaxScale.
inline QImage paintScaled(const WindowState& state, const Surface& picture3, int scale, int threads,
                          const ScaledProgress& progress = {})
{
    return paintScaled(state, picture3, QSize(kPictureSizePx * scale, kPictureSizePx * scale), threads, progress);
}

// Only the given rows of the picture of `size` (each 0..height-1, in any order), as the
// rows of the image returned, top to bottom in the order given.
inline QImage paintScaledRows(const WindowState& state, const Surface& picture3, QSize size,
                              const std::vector<int>& rows, int threads, const ScaledProgress& progress = {})
{
    return FrameEngine(state, picture3).paintRows(size, rows, threads, progress);
}

} // namespace mandalix
