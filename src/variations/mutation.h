// "More like this": a picture's record changed a little, each parameter by a random step
// that grows with the strength, every number staying inside the range its draw gives it.
// Pure functions on values, safe on any thread (each caller owns its Rnd); nothing fails.
#pragma once

#include "generator/rnd.h"
#include "state/picture_record.h"
#include "variations/locks.h"
#include "output/image_name.h" // bornAt names a child

#include <vector>

namespace mandalix {

// At the smallest strength a number moves by at most a hundredth of its range and a
// whole number changes once in a hundred; at the largest it may cross its whole range.
inline constexpr double kMinStrength = 0.01;
inline constexpr double kMaxStrength = 1.0;
// Children that still look like their parent, each a little different.
inline constexpr double kDefaultStrength = 0.1;

struct ClampedStrength {
    double value = kMinStrength;
    bool wasClamped = false;
};

// The strength brought into [kMinStrength, kMaxStrength]; a NaN becomes the smallest.
ClampedStrength clampStrength(double strength);

// A child of the parent: each continuous number moves by a uniform step of up to
// strength times its range, reflected at the range's ends; each whole number changes with
// probability `strength` to another allowed value at most strength times its range away
// (f1 and f2 stay even). A wavelength keeps its place between its period and twice it
// when the period changes. Locked groups, ba1..ba3 and the generation type are kept. The
// child is a new picture: it has no recolourings and is no repeat; its moment, seed and
// name stay the parent's until the caller names it. Draws only from `rnd`.
PictureRecord mutate(const PictureRecord& parent, double strength, Locks locks, Rnd& rnd);

// `count` children of one parent, from a generator of their own seeded with `seed`: the
// same parent, seed, strength and locks give the same children. Each child's lineage
// names the parent, the seed and the strength (clamped).
std::vector<PictureRecord> children(const PictureRecord& parent, int count, float seed,
                                    double strength, Locks locks);

} // namespace mandalix
