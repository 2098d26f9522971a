// Painting the picture on show at another size for Save as: from its record, at the new
// density, as the renderer paints it, with the colour replacements in order; a pixel whose
// pipeline fails takes the colour the window's picture shows at the nearest position, so
// the large picture looks like the small one. The help panel is an overlay on the window's
// picture and is not in a larger one. Runs on any thread, on copies taken beforehand;
// paints on `threads` threads of the painter (scaled_picture.h) and starts none of its
// own. Failures come back as a sentence.
#pragma once

#include "generator/scaled_picture.h"
#include "output/indexed_png.h"
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

// What is wrong with a size asked for: empty when both sides are 1..kMaxExportSidePx.
QString exportSizeProblem(QSize size);

// The window's grid position nearest to output pixel `index` along a side of `length`
// pixels of a picture whose shorter side is `shorter`: the picture is centred, pixels are
// square, and positions beyond the window's picture take its edge.
int nearestGridPosition(int index, int length, int shorter);

// Save as's picture at a size other than the window's, ready to write: painted once as
// 8-bit indices, its failed pixels given entries of their own when their colours fit the
// table; otherwise they keep kFailedIndex and take the colour of `window` at the nearest
// position only as each row is written, so no RGB copy of a large picture is ever held.
struct ExportPicture {
    QImage indices;           // Format_Indexed8; null at the window's size, or when cancelled
    QImage window;            // the window's picture, Format_RGB32
    std::vector<int> columns; // the window's column nearest to each column of `indices`
    bool isRgb = false;       // the failed pixels' colours do not fit the table
};

// As paintExport, without making the RGB picture.
ExportPicture paintExportPicture(const PictureRecord& record, const QImage& shown, QSize size, int threads,
                                 const std::atomic<bool>& cancel, const ScaledProgress& progress = {});

// The rows of a painted picture (indices not null) as its PNG takes them: indexed, or
// RGB made row by row. They read `picture`, which must outlive them.
PngRows pngRowsOf(const ExportPicture& picture);

// The picture of `record` at `size`, a valid size: `shown` (the window's 453 x 453
// picture when Save as was asked for) itself at the window's size, in Format_RGB32. Any
// other size is painted from the record at once into one 8-bit indexed image, as the
// renderer paints it, and its colour table recoloured once; each
// failed pixel then takes the colour `shown` has at the nearest position, through an
// entry of the table after the strip's 68. When those colours need more than the 256
// entries, the picture comes as Format_RGB32. Null when `cancel` was set before the
// painting ended, or memory ran out; a cancel while it paints is seen when it has.
QImage paintExport(const PictureRecord& record, const QImage& shown, QSize size, int threads,
                   const std::atomic<bool>& cancel, const ScaledProgress& progress = {});

} // namespace mandalix
