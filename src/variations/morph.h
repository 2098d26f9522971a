// A morph between two pictures: the weight of the second picture at each frame of a loop
// that goes from the first to the second and back, and the record between the two at a
// weight. Pure functions on values, safe on any thread; nothing fails.
#pragma once

#include "state/picture_record.h"

namespace mandalix {

// The weight of b at `frame` of a loop of `frames` (even, at least 2; frame 0..frames):
// (1 - cos(2 pi frame / frames)) / 2, exactly 0 at frame 0 and frames, exactly 1 at
// frames / 2, and the same to the bit at frame and frames - frame, so the way back shows
// the records of the way there.
double morphWeight(long long frame, long long frames);

// The record at weight `w` in [0, 1] from a (0) to b (1). The continuous parameters and the
// waves' phases and wavelengths move on the straight line (1 - w) a + w b, held as they
// are drawn (single precision where the draw holds them so); the view moves geometrically,
// by the same factor each step of w. The whole numbers (tip, barv, f1, f2, komp, ba, the
// periods), the generation type and the recolourings are a's below the middle (w < 0.5)
// and b's from it on. The ends are exact: w = 0 gives a, w = 1 b's picture under a's name.
// Name, seed and moment are a's; between the ends the lineage is an interpolation of the
// two, at the ends it is that end's own.
PictureRecord morphedRecord(const PictureRecord& a, const PictureRecord& b, double w);

} // namespace mandalix
