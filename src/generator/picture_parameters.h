// The random parameters of one picture: the seventeen numbers of the window state that
// shape its colours, drawn from the program's generator. Runs on whichever thread owns
// the window state; nothing can fail (every draw lies in [0, 1)).
#pragma once

#include "generator/rnd.h"
#include "state/window_state.h"

namespace mandalix {

// Draws tip, barv, f1, f2, n1..n4, komp1..komp3, ba1..ba3, baf01..baf03 in that order,
// with one unused draw between n4 and komp1: eighteen draws in all. n1, n2, n3 and the
// baf0 values are held in single precision, n4 in double, the others are whole.
void drawPictureParameters(PictureParameters& s, Rnd& rnd);

// How many draws drawPictureParameters takes.
inline constexpr int kPictureParameterDraws = 18;

// Advances the generator past the draws of drawPictureParameters without making the
// parameters: for a picture whose parameters are known, painted with the same random
// orders and noise as when they were drawn.
void skipPictureParameters(Rnd& rnd);

} // namespace mandalix
