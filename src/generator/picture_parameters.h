// The random parameters of one picture: the seventeen numbers of the window state that
// shape its colours, drawn from the program's generator. Runs on whichever thread owns
// the window state; nothing can fail (every draw lies in [0, 1)).
#pragma once

#include "generator/draw_formula.h"
#include "generator/rnd.h"
#include "state/window_state.h"

#include <array>

namespace mandalix {

// Draws tip, barv, f1, f2, n1..n4, komp1..komp3, ba1..ba3, baf01..baf03 in that order,
// with one unused draw between n4 and komp1: eighteen draws in all. n1, n2, n3 and the
// baf0 values are held in single precision, n4 in double, the others are whole.
void drawPictureParameters(PictureParameters& s, Rnd& rnd);

// How many draws drawPictureParameters takes.
inline constexpr int kPictureParameterDraws = 18;

// One draw of the parameter draw: the field it sets (none for the dropped draw) and its
// formula.
struct ParameterDraw {
    const char* name;
    double PictureParameters::*field;
    DrawFormula formula;
};

// The parameter draw, one row per draw in the order of the random sequence. The ninth,
// 2 * Int(Rnd * 6), an even number 0..10 that no picture uses, is drawn and dropped, so
// that the draws after it keep their places in the sequence.
inline constexpr std::array<ParameterDraw, kPictureParameterDraws> kParameterDraws = {{
    {"tip", &PictureParameters::tip, {4.0, 1.0, DrawHeld::Whole}},
    {"barv", &PictureParameters::barv, {5.0, 1.0, DrawHeld::Whole}},
    {"f1", &PictureParameters::f1, {10.0, 3.0, DrawHeld::Whole, 2.0}},
    {"f2", &PictureParameters::f2, {7.0, 2.0, DrawHeld::Whole, 2.0}},
    {"n1", &PictureParameters::n1, {20.0, 10.0, DrawHeld::Single}},
    {"n2", &PictureParameters::n2, {20.0, 10.0, DrawHeld::Single}},
    {"n3", &PictureParameters::n3, {6.0, 3.0, DrawHeld::Single}},
    {"n4", &PictureParameters::n4, {0.8, 0.1, DrawHeld::Double}},
    {"dropped", nullptr, {6.0, 0.0, DrawHeld::Whole, 2.0}},
    {"komp1", &PictureParameters::komp1, {50.0, 100.0, DrawHeld::Whole}},
    {"komp2", &PictureParameters::komp2, {50.0, 100.0, DrawHeld::Whole}},
    {"komp3", &PictureParameters::komp3, {50.0, 100.0, DrawHeld::Whole}},
    {"ba1", &PictureParameters::ba1, {80.0, 150.0, DrawHeld::Whole}},
    {"ba2", &PictureParameters::ba2, {80.0, 340.0, DrawHeld::Whole}},
    {"ba3", &PictureParameters::ba3, {80.0, 530.0, DrawHeld::Whole}},
    {"baf01", &PictureParameters::baf01, {20.0, 20.0, DrawHeld::Single}},
    {"baf02", &PictureParameters::baf02, {2.0, 2.0, DrawHeld::Single}},
    {"baf03", &PictureParameters::baf03, {100.0, 100.0, DrawHeld::Single}},
}};

// Advances the generator past the draws of drawPictureParameters without making the
// parameters: for a picture whose parameters are known, painted with the same random
// orders and noise as when they were drawn.
void skipPictureParameters(Rnd& rnd);

} // namespace mandalix
