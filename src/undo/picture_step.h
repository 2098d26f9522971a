// One step of the undo history: what Picture1 and Picture3 showed after a command that
// changed them, with the record of the picture and the strip's waves that belong to
// those pixels. The pixels are kept PNG-encoded, so a hundred steps stay small. Captured
// and shown by the thread that runs the commands, holding the surfaces' lock; a step
// itself is a plain value, safe to hand to another thread.
#pragma once

#include "program/surfaces.h"
#include "state/picture_record.h"
#include "state/window_state.h"

#include <QByteArray>
#include <QImage>

#include <cstddef>

namespace mandalix {

struct PictureStep {
    PictureRecord picture; // the picture on show, recolourings included
    PaletteWaves strip;    // the waves of the strip on show
    QByteArray picture1;   // Picture1's drawing area, PNG
    QByteArray picture3;   // Picture3's drawing area, PNG

    // The memory the step holds beyond its own size.
    std::size_t bytes() const { return static_cast<std::size_t>(picture1.size() + picture3.size()); }

    bool operator==(const PictureStep&) const = default;
};

// A lossless, compact encoding of a surface's pixels, and back. unpackPixels answers a
// null image for bytes that are no such encoding.
QByteArray packPixels(const QImage& image);
QImage unpackPixels(const QByteArray& bytes);

// Requires the surfaces' lock.
PictureStep captureStep(const Surfaces& surfaces, const PictureRecord& picture,
                        const PaletteWaves& strip);

} // namespace mandalix
