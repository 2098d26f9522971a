// Where each of a picture's numbers may lie: the ranges the parameter draw and the
// strip's wave draw give them, derived from those draws' own formulas, and the group each
// parameter belongs to. Variations keep every number inside these. Constant tables, safe
// on any thread; nothing fails.
#pragma once

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
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

// The range a draw gives: from its value at Rnd = 0 to its largest (see DrawFormula).
constexpr ParameterRange rangeOf(const DrawFormula& draw, bool isSingle)
{
    return {draw.lowest(), draw.highest(), draw.isWhole() ? draw.unit : 0, isSingle};
}

// A parameter with the range of its own draw in kParameterDraws; a field the draw does
// not set fails to compile.
constexpr ParameterSpec specOf(double PictureParameters::*field, Group group)
{
    std::size_t k = 0;
    while (kParameterDraws[k].field != field)
        ++k;
    const ParameterDraw& draw = kParameterDraws[k];
    return {draw.name, field, group, rangeOf(draw.formula, draw.formula.held == DrawHeld::Single)};
}

// The parameters that shape a picture, each with its draw range. ba1..ba3 are left out:
// they are drawn with the others but no pixel reads them, so a variation keeps them as
// they are (changing them would make a new record of the same picture).
inline constexpr std::array<ParameterSpec, 14> kParameterSpecs = {{
    specOf(&PictureParameters::tip, Group::Formula),
    specOf(&PictureParameters::barv, Group::Formula),
    specOf(&PictureParameters::f1, Group::Rays),
    specOf(&PictureParameters::f2, Group::Rings),
    specOf(&PictureParameters::n1, Group::Rings),
    specOf(&PictureParameters::n2, Group::Rings),
    specOf(&PictureParameters::n3, Group::Rings),
    specOf(&PictureParameters::n4, Group::Rings),
    specOf(&PictureParameters::komp1, Group::Amplitudes),
    specOf(&PictureParameters::komp2, Group::Amplitudes),
    specOf(&PictureParameters::komp3, Group::Amplitudes),
    specOf(&PictureParameters::baf01, Group::Position),
    specOf(&PictureParameters::baf02, Group::Position),
    specOf(&PictureParameters::baf03, Group::Position),
}};

// The strip's waves: whole periods 20..39, held in single precision, and phases in
// [0, 6.28], from the strip's draws. A wavelength lies in [period, 2 * period], in single
// precision: its range follows its own wave's period.
inline constexpr ParameterRange kPeriodRange = rangeOf(kPeriodDraw, true);
inline constexpr ParameterRange kPhaseRange = rangeOf(kPhaseDraw, false);
ParameterRange wavelengthRange(double period);

// Brings a value into a range: the nearest allowed value, rounded as the range holds it.
double fitToRange(double value, const ParameterRange& range);

// Whether a value is one the range allows.
bool isInRange(double value, const ParameterRange& range);

} // namespace mandalix
