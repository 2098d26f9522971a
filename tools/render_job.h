// One picture painted without a window, as the window paints its first picture: the
// program's state and surfaces as at start-up, a strip, and GenerateImage's sequence of
// the generator; at scale 1 the picture is exactly Picture1's drawing area, above it
// the same framing at a higher density. Also paints a recorded picture again. Runs on
// the calling thread (and the shared pool above 453 x 453). Nothing here fails.
#pragma once

#include "generator/pacer.h"
#include "generator/frame_engine.h"
#include "record_edits.h"
#include "state/picture_record.h"

#include <QDateTime>
#include <QImage>

#include <optional>

namespace mandalix {

struct RenderRequest {
    // The seed and the moment the picture is named after; unused with a record.
    float seed = 0;
    QDateTime moment;
    // A picture to paint again: its seed, name, strip and parameters.
    std::optional<PictureRecord> recorded;
    // The generation type; default the recorded one, else 4.
    std::optional<int> type;
    // Parameters and a view laid over the record, after the type.
    RecordEdits edits;
    int scale = 1;
    // Any width and height instead of the scale's square; empty: 453 * scale square.
    QSize size;
    int threads = 1;
};

struct RenderedPicture {
    QImage picture; // the requested size, 8-bit indexed above the window's 453 x 453
    QImage strip;   // Picture3's drawing area, 541 x 21
    PictureRecord record;
};

// Paints a record, the request's or, without one, that of the picture the window paints
// at start-up at the request's moment and seed, through the program's one replay path.
// 453 x 453 paints Picture1 in the order of the generation type through `pacer`, with
// the recolourings after it; other sizes go through the frame engine with `progress`,
// from the record alone (no surfaces), its colour table recoloured in the same order.
RenderedPicture renderPicture(const RenderRequest& request, Pacer& pacer,
                              const FrameProgress& progress = {});

// The record renderPicture paints for `request`, without painting it.
PictureRecord requestedRecord(const RenderRequest& request);

// The moment `seed` seconds after the midnight that begins `day` (to the millisecond
// below), as a plain date and time that no time zone shifts. Requires 0 <= seed < 86400.
QDateTime momentOfSeed(QDate day, float seed);

} // namespace mandalix
