// Painting a picture from its record: the one path by which the window's picture
// commands and the headless renderer paint. The strip is painted from the record's
// waves, the generator is seeded from its seed and spends the parameter draws as the
// original did, so the random orders and the noise come out the same, then the record's
// parameters and name are set, the traversal runs and the recolourings follow in order.
// Runs on the thread that owns the state and the surfaces (holding their lock); nothing
// fails: a pixel the pipeline cannot paint keeps what was there, as it always does.
#pragma once

#include "generator/pacer.h"
#include "generator/rnd.h"
#include "program/surfaces.h"
#include "state/picture_record.h"
#include "state/window_state.h"

#include <QDateTime>

namespace mandalix {

// The record of a new picture begun at `moment` with `seed`, in the state's generation
// type, from the strip of waves `strip`: its parameters are drawn from the seed as the
// picture will draw them and its view is the start's, or, when the state asks for a
// repeat (ponovi = 1), both are the state's own. Draws from a generator of its own; the
// state is not changed.
PictureRecord newPictureRecord(const WindowState& s, const PaletteWaves& strip,
                               const QDateTime& moment, float seed);

// Everything before the traversal: the strip from the waves, nac, the generator's seed
// and parameter draws, Picture2 cleared, re, gr, bl zeroed, then the record's parameters,
// view and name.
void beginRecordedPicture(WindowState& s, Surfaces& surfaces, Rnd& rnd, const PictureRecord& record);

// The whole picture: beginRecordedPicture, the traversal of the record's type over
// Picture1, then its recolourings in order. Returns false when the pacer stopped it
// (then no recolouring was made).
bool paintRecordedPicture(WindowState& s, Surfaces& surfaces, Rnd& rnd, const PictureRecord& record,
                          Pacer& pacer);

// Draws every pixel of `image` onto the surface from (0, 0); pixels beyond either are
// left as they were.
void showPixels(Surface& surface, const QImage& image);

// The window state that belongs to a picture on show: its parameters, its view and its
// name, with no repeat asked for. The generation type stays the user's choice.
void setPictureState(WindowState& s, const PictureRecord& picture);

} // namespace mandalix
