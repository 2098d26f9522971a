// One step of the undo history: what Picture1 showed after a command that changed the
// picture or the strip, with the record of the picture and the strip's waves (Picture3
// is painted again from them). Picture1 is kept as the picture's PNG (encodePicturePng),
// so a hundred steps stay small and the history writes a step's own bytes when its
// picture gives way. Captured and shown by the thread that runs the commands, holding the
// surfaces' lock; a step itself is a plain value, safe to hand to another thread.
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
    QByteArray picture1;   // Picture1's drawing area as shown, the PNG carrying `picture`
    // The picture's own pixels, as the history keeps them: Picture1's bytes themselves
    // (shared, not copied), unless the help panel covers the picture.
    QByteArray kept;

    // Whether Picture1 shows the picture itself, no panel over it.
    bool showsItsPicture() const { return kept == picture1; }
    // The memory the step holds beyond its own size.
    std::size_t bytes() const
    {
        const bool isShared = kept.constData() == picture1.constData();
        return static_cast<std::size_t>(picture1.size() + (isShared ? 0 : kept.size()));
    }

    bool operator==(const PictureStep&) const = default;
};

// The pixels of a step's PNG, Format_RGB32; a null image for bytes that are no PNG.
QImage unpackPixels(const QByteArray& bytes);

// Picture1 as it shows the picture itself: kept is picture1. Requires the surfaces' lock.
PictureStep captureStep(const Surfaces& surfaces, const PictureRecord& picture,
                        const PaletteWaves& strip);

} // namespace mandalix
