// One whole picture: reseeds the generator, names the picture, draws its parameters
// (unless a repeat was asked for) and paints every position of Picture1 in the order of
// the generation type nac. Runs on the thread that owns the state and the surfaces,
// holding their lock; the pacer may let go of it between batches. A pixel that fails
// keeps its old colour and is not reported; the only other outcome is a stop.
#pragma once

#include "generator/pacer.h"
#include "generator/rnd.h"
#include "state/window_state.h"
#include "surface/surface.h"

#include <QDateTime>
#include <QString>

namespace mandalix {

// Paints a picture begun at `moment` into picture1 with colours from the strip picture3,
// and clears picture2, the copy kept for saving. The seed and the name both come from
// that one moment. Returns false when the pacer stopped it midway.
bool GenerateImage(WindowState& s, Surface& picture1, Surface& picture2, const Surface& picture3,
                   Rnd& rnd, const QDateTime& moment, Pacer& pacer);

// The two halves of GenerateImage, apart so that a recorded picture can be painted again
// with the generator where the original left it. BeginImage reseeds with `seed`, sets
// imeslike to `name`, clears picture2, zeroes re, gr, bl, draws the parameters unless
// ponovi is 1 (eighteen draws), and clears ponovi.
void BeginImage(WindowState& s, Surface& picture2, Rnd& rnd, float seed, const QString& name);

// The traversal of the generation type nac over picture1. False when the pacer stopped it.
bool PaintImage(WindowState& s, Surface& picture1, const Surface& picture3, Rnd& rnd, Pacer& pacer);

} // namespace mandalix
