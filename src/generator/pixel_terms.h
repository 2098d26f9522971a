// The pixel pipeline's arithmetic split by what each term depends on, for painting many
// pixels of one picture: the terms of r alone once per distance from the centre, those of
// the angle once per pair of pixels mirrored across the horizontal axis, those of bl alone
// once per whole value of bl, the rest per pixel. Every term is the pipeline's
// own expression in the pipeline's order, so a pixel gets exactly DrawPixel's palette
// position, and fails exactly where DrawPixel fails. Built once per picture, then read-only:
// any number of threads may use one. A failed pixel is an answer, kFailedIndex.
#pragma once

#include "generator/pixel_pipeline.h"
#include "state/window_state.h"
#include "surface/surface.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace mandalix {

// Palette positions pozic = 0, 5, ..., 335 are indices 0..67; the colour table has one
// more entry, black, for the pixels that fail.
inline constexpr int kPaletteIndices = 68;
inline constexpr std::uint8_t kFailedIndex = kPaletteIndices;

// What a pixel's distance from the centre alone decides.
struct RadialTerms {
    bool isUsable = false; // false: every pixel at this distance fails
    double re = 0;         // re, or r * n1 * n3 under formula set 4
    double gr = 0;
    double blFactor = 0;   // cos(f2 * r) + 1 under formula set 4
    double baTerm = 0;     // the r-only part of ba, by barv
};

// What a pixel's angle decides: the sines of f1 * fi and (under formula set 4) f2 * fi.
// The pixel mirrored across the horizontal axis, (x, -y), has exactly the negated slope,
// so exactly the negated fi and the negated products; the maths library's atan and sin
// are odd to the bit (they work on the magnitude and give the result the argument's
// sign), so its sines are exactly these negated.
struct AngularTerms {
    bool isUsable = false; // false: the slope is not a finite number
    double sinF1 = 0;
    double sinF2 = 0;

    AngularTerms mirrored() const { return {isUsable, -sinF1, -sinF2}; }
};

// The colours of the palette positions 0, 5, ..., 335, as the strip shows them at its
// sampling row; a value that is no colour fails the pixels of that position.
using StripColours = std::array<Colour, kPaletteIndices>;

// The strip's colours sampled from the painted strip `picture3`.
StripColours sampleStrip(const Surface& picture3);

class PixelTerms {
public:
    // The parameters of `s` (tip, barv and the fifteen numbers) with the strip's colours.
    PixelTerms(const WindowState& s, const StripColours& strip);
    PixelTerms(const WindowState& s, const Surface& picture3) : PixelTerms(s, sampleStrip(picture3)) { }

    // The terms of the distance of (x, y) from the centre; the same for (±x, ±y) and
    // (±y, ±x), bit for bit.
    RadialTerms radial(double x, double y) const;

    // The terms of the angle of (x, y).
    AngularTerms angular(double x, double y) const;

    // The index of the pixel whose distance gave `radial` and whose angle gave `angular`.
    std::uint8_t index(const RadialTerms& radial, const AngularTerms& angular) const;

    // The same for the pixel at (x, y).
    std::uint8_t index(const RadialTerms& radial, double x, double y) const
    {
        return index(radial, angular(x, y));
    }

    // The colour of each index, failed pixels black.
    const std::array<Colour, kPaletteIndices + 1>& colours() const { return m_colours; }

private:
    double blTerm(double bl) const;
    double blTermDirect(double bl) const;
    void tabulateBl();

    PictureParameters m_p;
    int m_tipRow = 0;  // 0: every pixel fails
    int m_barvRow = 0;
    std::array<std::uint8_t, kPaletteIndices> m_indexOfPosition{};
    std::array<Colour, kPaletteIndices + 1> m_colours{};
    double m_blFirst = 0;
    double m_blLast = -1;
    std::vector<double> m_blTable;
};

// Inline: called for every pixel.
inline double PixelTerms::blTerm(double bl) const
{
    if (bl >= m_blFirst && bl <= m_blLast)
        return m_blTable[static_cast<std::size_t>(bl - m_blFirst)];
    return blTermDirect(bl);
}

inline AngularTerms PixelTerms::angular(double x, double y) const
{
    AngularTerms a;
    const double slope = y / (x + 0.000001);
    if (!isFiniteNumber(slope))
        return a;
    const double fi = std::atan(slope);
    a.sinF1 = std::sin(m_p.f1 * fi);
    if (m_tipRow == 4)
        a.sinF2 = std::sin(m_p.f2 * fi);
    a.isUsable = true;
    return a;
}

inline std::uint8_t PixelTerms::index(const RadialTerms& t, const AngularTerms& a) const
{
    if (!t.isUsable || !a.isUsable)
        return kFailedIndex;
    const PictureParameters& p = m_p;
    double re = t.re;
    double b = p.komp3 * (a.sinF1 + 1);
    if (m_tipRow == 4) {
        re = Int(re * a.sinF2);
        if (!isFiniteNumber(re))
            return kFailedIndex;
        b = b * t.blFactor;
    }
    const double bl = Int(b);
    if (!isFiniteNumber(bl))
        return kFailedIndex;

    double ba;
    switch (m_barvRow) {
    case 2:
        ba = re + t.gr + blTerm(bl);
        break;
    case 3:
        ba = (m_tipRow == 4 ? re + t.baTerm : t.baTerm) + blTerm(bl);
        break;
    case 4:
        ba = 2 * (re + bl) + t.gr;
        break;
    case 5:
        ba = (re + t.gr) * blTerm(bl) * t.baTerm;
        break;
    default:
        ba = re + t.gr + bl;
        break;
    }
    if (!isFiniteNumber(ba))
        return kFailedIndex;
    if (ba > kPalettePositionMax)
        ba = kPalettePositionMax;
    if (ba < 0)
        ba = 0;
    // ba is in 0..675 here, where Int is the truncation of the conversion.
    return m_indexOfPosition[static_cast<std::size_t>(ba / 10)];
}

} // namespace mandalix
