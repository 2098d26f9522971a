// The pixel colour pipeline: turns the current position's centred coordinates into a
// palette position, reads that colour from the strip (Picture3) and paints it at
// (i, j) of the picture (Picture1). Works on the window state in place, on the thread
// that owns the surfaces. A pixel fails (log of a non-positive number, division by zero,
// a result that is not finite, a type out of range) by returning false: nothing after
// the failing step is assigned, read or painted, and the picture keeps its old pixel.
#pragma once

#include "state/window_state.h"
#include "surface/surface.h"

#include <bit>
#include <cstdint>

namespace mandalix {

// The palette position is held to 0..kPalettePositionMax; every step of 10 in it moves
// kStripStepPx columns along row kStripSampleRow of the strip, from column kStripFirstColumn.
inline constexpr double kPalettePositionMax = 675;
inline constexpr int kStripFirstColumn = 10;
inline constexpr int kStripStepPx = 5;
inline constexpr int kStripSampleRow = 10;

// True when v is a number and not an infinity. Looks at the exponent bits with integer
// instructions: a floating-point compare here would hold up the maths library's next
// call, which reads the floating-point status and so waits for every floating-point
// instruction before it.
inline bool isFiniteNumber(double v)
{
    constexpr std::uint64_t kExponent = 0x7FF0000000000000;
    return (std::bit_cast<std::uint64_t>(v) & kExponent) != kExponent;
}

// The row of a formula table that a type number selects: the number rounded half to even;
// 2..lastRow select their own rows, every other value in 0..255 selects row 1. Answers 0
// for a number outside 0..255 or not a number, which fails the pixel.
inline int formulaRow(double type, int lastRow)
{
    // Every picture the program draws has a whole type 1..lastRow, found by comparing
    // bit patterns: integer work, out of the way of the maths library (see isFiniteNumber).
    const auto bits = std::bit_cast<std::uint64_t>(type);
    for (int row = 1; row <= lastRow; ++row)
        if (bits == std::bit_cast<std::uint64_t>(static_cast<double>(row)))
            return row;
    const double whole = roundHalfEven(type);
    if (!(whole >= 0 && whole <= 255))
        return 0;
    const int row = static_cast<int>(whole);
    return row >= 2 && row <= lastRow ? row : 1;
}

// The whole pixel: r and fi from x and y, then the channels, the palette position and
// the paint. Reads x, y, i, j and the picture parameters; writes r, fi, re, gr, bl, ba,
// pozic, barva in that order. Returns false when the pixel failed; nothing after the
// failing step was assigned, the values assigned before it keep their new values.
[[nodiscard]] bool DrawPixel(WindowState& s, const Surface& picture3, Surface& picture1);

// re, gr, bl by the formula set tip (rounded half to even; 2..4 their own rows, any other
// value in 0..255 row 1, anything else fails), then ComputePalettePosition. Reads r, fi.
// Returns false when the pixel failed; nothing after the failing step was assigned.
[[nodiscard]] bool ComputeChannels(WindowState& s);

// ba by the formula barv (rounded half to even; 2..5 their own rows, any other value in
// 0..255 row 1, anything else fails). Reads r, re, gr, bl. Returns false when the pixel
// failed, leaving ba unchanged.
[[nodiscard]] bool ComputePalettePosition(WindowState& s);

// Clamps ba to 0..675 (stored back), sets pozic, reads barva from the strip at column
// pozic + 10 of row 10 and paints it at (i, j) of the picture; a position outside the
// picture is clipped, not a failure. Returns false when pozic is not a number or the strip
// has no colour there (barva keeps its value); nothing is painted then.
[[nodiscard]] bool PaintPixel(WindowState& s, const Surface& picture3, Surface& picture1);

} // namespace mandalix
