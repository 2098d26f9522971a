// Two pictures bred into a row of children: crossovers, which take each group of
// parameters whole from one parent or the other, and blends between the two. Pure
// functions on values, safe on any thread; nothing fails.
#pragma once

#include "state/picture_record.h"
#include "variations/locks.h"

#include <array>
#include <vector>

namespace mandalix {

// The blends' places between the first parent (0) and the second (1).
inline constexpr std::array<double, 3> kBlendPlaces = {0.25, 0.5, 0.75};

// The first parent with one group taken whole from the second. ba1..ba3, the generation
// type, the moment, seed and name stay the first parent's; the child has no recolourings.
PictureRecord crossover(const PictureRecord& a, const PictureRecord& b, Group fromB);

// The two parents blended at `place` in [0, 1]: continuous numbers (and the waves'
// phases, and each wavelength's place between its period and twice it) on the straight
// line between them, rounded as they are held; whole numbers from the nearer parent, from
// `a` at exactly 1/2. Everything else as in crossover.
PictureRecord blend(const PictureRecord& a, const PictureRecord& b, double place);

// The row shown for two parents, in this order: the six crossovers, one per group in
// the groups' order (the first parent with that group from the second), then the three
// blends at kBlendPlaces. Each child's lineage names both parents and how it was bred.
std::vector<PictureRecord> breed(const PictureRecord& a, const PictureRecord& b);

} // namespace mandalix
