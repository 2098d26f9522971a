// Painting the picture on show at another size for Save as: from its record, at the new
// density, as the renderer paints it, with the colour replacements in order; a pixel whose
// pipeline fails takes the colour the window's picture shows at the nearest position, so
// the large picture looks like the small one. The help panel is an overlay on the window's
// picture and is not in a larger one. Runs on any thread, on copies taken beforehand;
// paints with a pool of `threads`. Failures come back as a sentence.
#pragma once

#include "generator/scaled_picture.h"
#include "state/picture_record.h"
#include "state/window_state.h"
#include "surface/surface.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <vector>

namespace mandalix {

// The largest side of a saved picture.
inline constexpr int kMaxExportSidePx = kMaxPictureSidePx;
// Rows painted between two looks at the cancel flag.
inline constexpr int kExportBandRows = 512;

// What is wrong with a size asked for: empty when both sides are 1..kMaxExportSidePx.
QString exportSizeProblem(QSize size);

// The window's grid position nearest to output pixel `index` along a side of `length`
// pixels of a picture whose shorter side is `shorter`: the picture is centred, pixels are
// square, and positions beyond the window's picture take its edge.
int nearestGridPosition(int index, int length, int shorter);

// The given rows of the picture of `state` (begun from a record) and the strip
// `picture3` at any size, as an indexed image whose failed pixels are kFailedIndex: the
// one place that asks the generator for a size.
QImage paintRowsAtSize(const WindowState& state, const Surface& picture3, QSize size,
                       const std::vector<int>& rows, int threads, const ScaledProgress& progress);

// The picture of `record` at `size`, a valid size: `shown` (the window's 453 x 453
// picture when Save as was asked for) itself at the window's size, else painted from the
// record in bands of kExportBandRows, recoloured, and its failed pixels taken from
// `shown`. Null when `cancel` was set before the last band, or memory ran out.
QImage paintExport(const PictureRecord& record, const QImage& shown, QSize size, int threads,
                   const std::atomic<bool>& cancel, const ScaledProgress& progress = {});

} // namespace mandalix
