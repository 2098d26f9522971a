// What the editor knows of a picture's numbers: each of the seventeen parameters and the
// strip's nine wave numbers with the plain words a person reads, the group it belongs to
// and the range its draw gives it; drawing new values for the numbers not locked, as a new
// picture would draw them; and zooming the view within its bounds. Constant tables and
// pure functions, safe on any thread; nothing fails (a zoom at a bound says so).
#pragma once

#include "generator/rnd.h"
#include "state/picture_record.h"
#include "variations/parameter_ranges.h"

#include <array>
#include <bitset>

namespace mandalix {

// One number of a record the editor shows: a parameter, or a wave's period, phase or
// wavelength of one colour.
struct EditableNumber {
    const char* code;  // the code name: "n1", "period red"
    const char* words; // what it does, for a person
    const char* group; // the heading it is shown under
    ParameterRange range;
};

inline constexpr int kEditableParameters = 17;
inline constexpr int kEditableWaves = 9; // period, phase, wavelength of red, green, blue
inline constexpr int kEditableNumbers = kEditableParameters + kEditableWaves;

// The seventeen parameters in the order of the draw, then the waves: red's period, phase
// and wavelength, then green's, then blue's.
const std::array<EditableNumber, kEditableNumbers>& editableNumbers();

// The names of the formula sets (tip 1..4) and of the palette-position formulas (barv 1..5).
extern const std::array<const char*, 4> kFormulaSetNames;
extern const std::array<const char*, 5> kPositionFormulaNames;

// A number of a record by its place in editableNumbers(), and setting it.
double editableValue(const PictureRecord& record, int index);
void setEditableValue(PictureRecord& record, int index, double value);

// The record with every number not locked drawn anew, as a new picture draws its
// parameters and a new palette its waves; the locked ones and everything else kept.
using EditLocks = std::bitset<kEditableNumbers>;
PictureRecord randomised(const PictureRecord& record, const EditLocks& locked, Rnd& rnd);

// The view after zooming in by `factor` (above 1 zooms in, below 1 out), kept within
// [kMinView, kMaxView]; `isAtBound` when it was held at a bound.
struct ZoomedView {
    double view = kStartView;
    bool isAtBound = false;
};
ZoomedView zoomedView(double view, double factor);

} // namespace mandalix
