// The palette strip: 542 one-pixel columns of three sine waves, one per channel, painted
// into Picture3. The strip is the program's only colour store: the pixel pipeline reads
// its colours back from the surface. Runs on whichever thread owns the surfaces; no
// failure can arise (every wavelength is at least 20).
#pragma once

#include "generator/draw_formula.h"
#include "generator/rnd.h"
#include "state/picture_record.h"
#include "state/window_state.h"
#include "surface/surface.h"

#include <array>

namespace mandalix {

inline constexpr int kStripColumns = 542;
inline constexpr int kStripRowLast = 21;

// The strip's draws: each period a whole number Int(Rnd * 20 + 20), held in single
// precision; each phase Rnd * 6.28. A wavelength lies between its period and twice it:
// the period plus Rnd times the period, each step rounded to single precision.
inline constexpr DrawFormula kPeriodDraw = {20.0, 20.0, DrawHeld::Whole};
inline constexpr DrawFormula kPhaseDraw = {6.28, 0.0, DrawHeld::Double};

// Draws the nine numbers of a strip: three periods, three phases, three wavelengths.
PaletteWaves drawPaletteWaves(Rnd& rnd);

// The value of one channel at strip column x, in [0, 252].
double paletteChannel(int x, double wavelength, double phase);

// Paints the columns 0..541 from row 0 to row 21 of the strip; leaves `re`, `gr`, `bl`
// holding the last column's channels. Nothing else of the surface is touched.
void paintPaletteStrip(const PaletteWaves& waves, WindowState& s, Surface& picture3);

// A new strip from the generator, which advances by exactly nine draws.
PaletteWaves DrawPalette(WindowState& s, Surface& picture3, Rnd& rnd);

} // namespace mandalix
