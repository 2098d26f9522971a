// The pixel pipeline's arithmetic split by what each term depends on, for painting many
// pixels of one picture: the terms of r alone once per distance from the centre, those of
// the angle once per pair of pixels mirrored across the horizontal axis, those of bl alone
// once per whole value of bl, the rest per pixel. Every term is the pipeline's
// own expression in the pipeline's order, so a pixel gets exactly DrawPixel's palette
// position, and fails exactly where DrawPixel fails. Built once per picture, then read-only:
// any number of threads may use one. A failed pixel is an answer, kFailedIndex.
//
// A term that fails the pixel is carried as a number that is not finite, and the pixel is
// tested once, at the end: every later step of the pipeline is a sum, a product, Int or a
// sine or cosine, each of which keeps an infinity or a NaN not finite, so the palette
// position is not finite exactly when the pipeline would have failed on the way.
#pragma once

#include "generator/pixel_pipeline.h"
#include "state/window_state.h"
#include "surface/surface.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mandalix {

// Palette positions pozic = 0, 5, ..., 335 are indices 0..67; the colour table has one
// more entry, black, for the pixels that fail.
inline constexpr int kPaletteIndices = 68;
inline constexpr std::uint8_t kFailedIndex = kPaletteIndices;

inline constexpr double kFailedTerm = std::numeric_limits<double>::quiet_NaN();

// What a pixel's distance from the centre alone decides; every term is kFailedTerm where
// every pixel at this distance fails.
struct RadialTerms {
    double re = kFailedTerm;       // re, or r * n1 * n3 under formula set 4
    double gr = kFailedTerm;
    double blFactor = kFailedTerm; // cos(f2 * r) + 1 under formula set 4
    double baTerm = kFailedTerm;   // the r-only part of ba, by barv
};

// What a pixel's angle decides: the sines of f1 * fi and (under formula set 4) f2 * fi;
// sinF1 is kFailedTerm where the slope is not a finite number.
// The pixel mirrored across the horizontal axis, (x, -y), has exactly the negated slope,
// so exactly the negated fi and the negated products; the maths library's atan and sin
// are odd to the bit (they work on the magnitude and give the result the argument's
// sign), so its sines are exactly these negated.
struct AngularTerms {
    double sinF1 = kFailedTerm;
    double sinF2 = 0;

    AngularTerms mirrored() const { return {-sinF1, -sinF2}; }
};

// What the angular terms depend on besides the pixel's coordinates, and komp3, which
// with sinF1 alone decides bl under formula sets 1 to 3.
struct AngularKey {
    double f1 = 0;
    double f2 = 0;    // under formula set 4, else 0
    double komp3 = 0; // under formula sets 1 to 3, else 0
    bool hasSinF2 = false;

    // Bit for bit, as the sines are.
    friend bool operator==(const AngularKey& a, const AngularKey& b)
    {
        const auto same = [](double u, double v) { return std::bit_cast<std::uint64_t>(u) == std::bit_cast<std::uint64_t>(v); };
        return same(a.f1, b.f1) && same(a.f2, b.f2) && same(a.komp3, b.komp3) && a.hasSinF2 == b.hasSinF2;
    }
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

    // The same with the formulas fixed at compile time, for loops over many pixels:
    // kHasSinF2 is hasSinF2 of angularKey(), kBarvRow the barv row (1 for any other).
    // withFormulas(body) calls body.template operator()<kHasSinF2, kBarvRow>() with this
    // picture's.
    template <bool kHasSinF2, int kBarvRow>
    std::uint8_t indexBy(const RadialTerms& radial, double sinF1, double sinF2) const;
    // The same from re and bl, the pixel's channels but gr (which is radial's).
    template <bool kHasSinF2, int kBarvRow>
    std::uint8_t indexOfBl(const RadialTerms& radial, double re, double bl) const;
    // bl of a pixel whose sine of f1 * fi is sinF1, under formula sets 1 to 3.
    double blOf(double sinF1) const { return Int(m_p.komp3 * (sinF1 + 1)); }
    template <typename Body>
    void withFormulas(Body&& body) const;

    // The same for the pixel at (x, y).
    std::uint8_t index(const RadialTerms& radial, double x, double y) const
    {
        return index(radial, angular(x, y));
    }

    // What angular() reads besides the coordinates.
    AngularKey angularKey() const
    {
        const bool hasSinF2 = m_tipRow == 4;
        return {m_p.f1, hasSinF2 ? m_p.f2 : 0, hasSinF2 ? 0 : m_p.komp3, hasSinF2};
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
    return a;
}

// ba held to 0..675 as the pipeline holds it, without a jump: whether a pixel is held
// changes from pixel to pixel, and a mispredicted jump costs more than the pixel's
// arithmetic. The pipeline keeps -0 where this gives +0; both are position 0.
inline double heldPosition(double ba)
{
#if defined(__SSE2__)
    const __m128d held = _mm_max_sd(_mm_min_sd(_mm_set_sd(ba), _mm_set_sd(kPalettePositionMax)), _mm_setzero_pd());
    return _mm_cvtsd_f64(held);
#else
    return std::max(std::min(ba, kPalettePositionMax), 0.0);
#endif
}

// Straight-line arithmetic with one test at the end (see the top of the file): no branch
// on the pixel's numbers but that one, which is almost always taken the same way.
template <bool kHasSinF2, int kBarvRow>
[[gnu::always_inline]] inline std::uint8_t PixelTerms::indexBy(const RadialTerms& t, double sinF1, double sinF2) const
{
    double re = t.re;
    double b = m_p.komp3 * (sinF1 + 1);
    if constexpr (kHasSinF2) {
        re = Int(re * sinF2);
        b = b * t.blFactor;
    }
    return indexOfBl<kHasSinF2, kBarvRow>(t, re, Int(b));
}

template <bool kHasSinF2, int kBarvRow>
[[gnu::always_inline]] inline std::uint8_t PixelTerms::indexOfBl(const RadialTerms& t, double re, double bl) const
{
    double ba;
    if constexpr (kBarvRow == 2)
        ba = re + t.gr + blTerm(bl);
    else if constexpr (kBarvRow == 3)
        ba = (kHasSinF2 ? re + t.baTerm : t.baTerm) + blTerm(bl);
    else if constexpr (kBarvRow == 4)
        ba = 2 * (re + bl) + t.gr;
    else if constexpr (kBarvRow == 5)
        ba = (re + t.gr) * blTerm(bl) * t.baTerm;
    else
        ba = re + t.gr + bl;
    if (!isFiniteNumber(ba)) [[unlikely]]
        return kFailedIndex;
    // ba is in 0..675 here, where Int is the truncation of the conversion.
    return m_indexOfPosition[static_cast<std::size_t>(heldPosition(ba) / 10)];
}

template <typename Body>
void PixelTerms::withFormulas(Body&& body) const
{
    const auto byBarv = [&]<bool kHasSinF2>() {
        switch (m_barvRow) {
        case 2:
            return body.template operator()<kHasSinF2, 2>();
        case 3:
            return body.template operator()<kHasSinF2, 3>();
        case 4:
            return body.template operator()<kHasSinF2, 4>();
        case 5:
            return body.template operator()<kHasSinF2, 5>();
        default:
            return body.template operator()<kHasSinF2, 1>();
        }
    };
    if (m_tipRow == 4)
        byBarv.template operator()<true>();
    else
        byBarv.template operator()<false>();
}

inline std::uint8_t PixelTerms::index(const RadialTerms& t, const AngularTerms& a) const
{
    std::uint8_t index = kFailedIndex;
    withFormulas([&]<bool kHasSinF2, int kBarvRow>() { index = indexBy<kHasSinF2, kBarvRow>(t, a.sinF1, a.sinF2); });
    return index;
}

} // namespace mandalix
