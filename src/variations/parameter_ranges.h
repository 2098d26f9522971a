// Where each of a picture's numbers may lie: the ranges the parameter draw and the
// strip's wave draw give them, and the group each parameter belongs to. Variations keep
// every number inside these. Constant tables, safe on any thread; nothing fails.
#pragma once

#include "state/picture_record.h"
#include "variations/locks.h"

#include <array>

namespace mandalix {

// A whole-number range holds min..max inclusive in steps of `unit` (2 for the even ones,
// which keep the mandala's symmetry); a continuous one holds [min, max]. The draws are
// Rnd * width + min with Rnd below 1, but rounding to single precision can land on the
// max (baf01, baf03, n3, a wavelength at twice its period), so the max is allowed.
struct ParameterRange {
    double min = 0;
    double max = 0;
    double unit = 0;          // 0 for a continuous range
    bool isSingle = false;    // held in single precision

    constexpr bool isWhole() const { return unit > 0; }
    // How many values a whole-number range holds.
    constexpr int count() const { return static_cast<int>((max - min) / unit) + 1; }
};

struct ParameterSpec {
    const char* name;
    double PictureParameters::*field;
    Group group;
    ParameterRange range;
};

// The parameters that shape a picture, each with its draw range. ba1..ba3 are left out:
// they are drawn with the others but no pixel reads them, so a variation keeps them as
// they are (changing them would make a new record of the same picture).
inline constexpr std::array<ParameterSpec, 14> kParameterSpecs = {{
    {"tip", &PictureParameters::tip, Group::Formula, {1, 4, 1, false}},
    {"barv", &PictureParameters::barv, Group::Formula, {1, 5, 1, false}},
    {"f1", &PictureParameters::f1, Group::Rays, {6, 24, 2, false}},
    {"f2", &PictureParameters::f2, Group::Rings, {4, 16, 2, false}},
    {"n1", &PictureParameters::n1, Group::Rings, {10, 30, 0, true}},
    {"n2", &PictureParameters::n2, Group::Rings, {10, 30, 0, true}},
    {"n3", &PictureParameters::n3, Group::Rings, {3, 9, 0, true}},
    {"n4", &PictureParameters::n4, Group::Rings, {0.1, 0.9, 0, false}},
    {"komp1", &PictureParameters::komp1, Group::Amplitudes, {100, 149, 1, false}},
    {"komp2", &PictureParameters::komp2, Group::Amplitudes, {100, 149, 1, false}},
    {"komp3", &PictureParameters::komp3, Group::Amplitudes, {100, 149, 1, false}},
    {"baf01", &PictureParameters::baf01, Group::Position, {20, 40, 0, true}},
    {"baf02", &PictureParameters::baf02, Group::Position, {2, 4, 0, true}},
    {"baf03", &PictureParameters::baf03, Group::Position, {100, 200, 0, true}},
}};

// The strip's waves: whole periods 20..39 in single precision, phases in [0, 6.28].
// A wavelength lies in [period, 2 * period], in single precision: its range follows
// its own wave's period.
inline constexpr ParameterRange kPeriodRange = {20, 39, 1, true};
inline constexpr ParameterRange kPhaseRange = {0, 6.28, 0, false};
ParameterRange wavelengthRange(double period);

// Brings a value into a range: the nearest allowed value, rounded as the range holds it.
double fitToRange(double value, const ParameterRange& range);

// Whether a value is one the range allows.
bool isInRange(double value, const ParameterRange& range);

} // namespace mandalix
