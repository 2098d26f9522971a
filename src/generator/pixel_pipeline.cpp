#include "generator/pixel_pipeline.h"

#include <QtGlobal>

#include <bit>
#include <cmath>
#include <cstdint>

namespace mandalix {
namespace {

// Stores v when it is a finite number. Every result is tested before it reaches the
// window state, so a pixel that overflows or turns into "not a number" fails at the very
// assignment that produced it and the variables after it keep the previous pixel's values.
// Any overflow or invalid operation inside a formula carries through to its result, so one
// test per assignment is enough.
inline bool store(double& to, double v)
{
    if (!isFiniteNumber(v))
        return false;
    to = v;
    return true;
}

// A pixel coordinate for the surface. The driver passes whole numbers; anything too far
// out to be a pixel (or not a number) becomes -1, which the surface clips like any other
// position outside its drawing area.
inline int pixelIndex(double v)
{
    constexpr double kFarOutside = 1e9;
    if (!(v > -kFarOutside && v < kFarOutside))
        return -1;
    // Whole numbers, what the driver passes, are already rounded.
    const int exact = static_cast<int>(v);
    return exact == v ? exact : static_cast<int>(roundHalfEven(v));
}

// re of the formula set `row`.
inline double channelRe(const WindowState& s, int row)
{
    switch (row) {
    case 2:
        return s.komp1 * (std::sin(s.n3 * s.r) + 1);
    case 3:
        return s.r * s.n1 * s.n3;
    case 4:
        return Int(s.r * s.n1 * s.n3 * std::sin(s.f2 * s.fi));
    default:
        return s.komp1 * (std::sin(s.n1 * s.r) + 1);
    }
}

// The steps of the pipeline. Each public step below is one of these, and DrawPixel runs
// them all in one body, so the values a step has just stored in the window state stay
// in registers for the next step instead of going through a call per step.
Q_ALWAYS_INLINE bool computePalettePosition(WindowState& s)
{
    double ba;
    switch (formulaRow(s.barv, 5)) {
    case 0:
        return false;
    case 2:
        ba = s.re + s.gr + s.bl * std::sin(s.bl / s.baf01);
        break;
    case 3:
        ba = s.re + s.gr * std::sin(s.r * s.baf02) + s.bl * std::cos(s.bl / s.baf03);
        break;
    case 4:
        ba = 2 * (s.re + s.bl) + s.gr;
        break;
    case 5:
        // 1 + r is at least 1, so this logarithm never fails.
        ba = (s.re + s.gr) * (std::sin(s.bl / s.baf03) + 1) * std::log(1 + s.r);
        break;
    default:
        ba = s.re + s.gr + s.bl;
        break;
    }
    return store(s.ba, ba);
}

Q_ALWAYS_INLINE bool computeChannels(WindowState& s)
{
    const int row = formulaRow(s.tip, 4);
    if (row == 0)
        return false;
    if (!store(s.re, channelRe(s, row)))
        return false;

    double gr = s.komp2 * (std::cos(s.n2 * s.r) + 1);
    if (row == 2) {
        const double logArgument = 2 * std::sin(s.n4 * s.r);
        // The rings where the sine is zero or negative have no logarithm.
        if (!(logArgument > 0))
            return false;
        gr = gr * std::log(logArgument);
    }
    if (!store(s.gr, gr))
        return false;

    double bl = s.komp3 * (std::sin(s.f1 * s.fi) + 1);
    if (row == 4)
        bl = bl * (std::cos(s.f2 * s.r) + 1);
    if (!store(s.bl, Int(bl)))
        return false;

    return computePalettePosition(s);
}

Q_ALWAYS_INLINE bool paintPixel(WindowState& s, const Surface& picture3, Surface& picture1)
{
    if (s.ba > kPalettePositionMax)
        s.ba = kPalettePositionMax;
    if (s.ba < 0)
        s.ba = 0;
    // ba is now in 0..675 (or not a number, which fails here), so pozic is 0, 5, ..., 335.
    if (!store(s.pozic, Int(s.ba / 10) * kStripStepPx))
        return false;
    // A strip too small to hold the sampled column has no colour there: the read fails.
    const Colour barva =
        picture3.Point(static_cast<int>(s.pozic) + kStripFirstColumn, kStripSampleRow);
    if (!isColour(barva))
        return false;
    s.barva = barva;
    picture1.PSet(pixelIndex(s.i), pixelIndex(s.j), s.barva);
    return true;
}

} // namespace

bool DrawPixel(WindowState& s, const Surface& picture3, Surface& picture1)
{
    if (!store(s.r, std::sqrt(s.x * s.x + s.y * s.y)))
        return false;
    // The slope's quotient is tested before the arctangent, which would turn the
    // infinity of a division by zero into a finite angle.
    const double slope = s.y / (s.x + 0.000001);
    if (!isFiniteNumber(slope) || !store(s.fi, std::atan(slope)))
        return false;
    if (!computeChannels(s))
        return false;
    return paintPixel(s, picture3, picture1);
}

bool ComputeChannels(WindowState& s)
{
    return computeChannels(s);
}

bool ComputePalettePosition(WindowState& s)
{
    return computePalettePosition(s);
}

bool PaintPixel(WindowState& s, const Surface& picture3, Surface& picture1)
{
    return paintPixel(s, picture3, picture1);
}

} // namespace mandalix
