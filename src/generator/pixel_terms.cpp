#include "generator/pixel_terms.h"

#include "generator/pixel_pipeline.h"

#include <cmath>

namespace mandalix {

namespace {

// More whole values of bl than this are not tabulated (a picture the program draws has
// at most a few hundred).
constexpr double kMaxBlValues = 1 << 16;

} // namespace

StripColours sampleStrip(const Surface& picture3)
{
    StripColours strip{};
    for (int k = 0; k < kPaletteIndices; ++k)
        strip[static_cast<std::size_t>(k)] = picture3.Point(k * kStripStepPx + kStripFirstColumn, kStripSampleRow);
    return strip;
}

PixelTerms::PixelTerms(const WindowState& s, const StripColours& strip)
    : m_p(parametersOf(s)), m_tipRow(formulaRow(s.tip, 4)), m_barvRow(formulaRow(s.barv, 5))
{
    for (int k = 0; k < kPaletteIndices; ++k) {
        const Colour colour = strip[static_cast<std::size_t>(k)];
        // A strip without a colour there fails the pixel, which then stays black.
        m_indexOfPosition[static_cast<std::size_t>(k)] = isColour(colour) ? static_cast<std::uint8_t>(k) : kFailedIndex;
        m_colours[static_cast<std::size_t>(k)] = isColour(colour) ? colour : kBlack;
    }
    m_colours[kFailedIndex] = kBlack;
    if (m_tipRow == 0 || m_barvRow == 0)
        m_tipRow = m_barvRow = 0;
    tabulateBl();
}

void PixelTerms::tabulateBl()
{
    if (m_barvRow != 2 && m_barvRow != 3 && m_barvRow != 5)
        return;
    // sin + 1 and cos + 1 lie in 0..2 and rounded products are monotone, so bl lies
    // between Int of 0 and of these bounds.
    const double twice = m_p.komp3 * 2;
    double low = std::min(0.0, twice);
    double high = std::max(0.0, twice);
    if (m_tipRow == 4) {
        low *= 2;
        high *= 2;
    }
    m_blFirst = Int(low);
    m_blLast = Int(high);
    if (!(std::isfinite(m_blFirst) && std::isfinite(m_blLast) && m_blLast - m_blFirst < kMaxBlValues)) {
        m_blFirst = 0;
        m_blLast = -1;
        return;
    }
    m_blTable.resize(static_cast<std::size_t>(m_blLast - m_blFirst) + 1);
    for (std::size_t k = 0; k < m_blTable.size(); ++k)
        m_blTable[k] = blTermDirect(m_blFirst + static_cast<double>(k));
}

// The part of ba that depends on bl alone, in the pipeline's expression.
double PixelTerms::blTermDirect(double bl) const
{
    switch (m_barvRow) {
    case 2:
        return bl * std::sin(bl / m_p.baf01);
    case 3:
        return bl * std::cos(bl / m_p.baf03);
    default:
        return std::sin(bl / m_p.baf03) + 1;
    }
}

RadialTerms PixelTerms::radial(double x, double y) const
{
    RadialTerms t;
    const double r = std::sqrt(x * x + y * y);
    if (m_tipRow == 0 || !isFiniteNumber(r))
        return t;
    const PictureParameters& p = m_p;
    double re;
    double gr = p.komp2 * (std::cos(p.n2 * r) + 1);
    double blFactor = 0;
    switch (m_tipRow) {
    case 2: {
        re = p.komp1 * (std::sin(p.n3 * r) + 1);
        const double logArgument = 2 * std::sin(p.n4 * r);
        if (!(logArgument > 0))
            return t;
        gr = gr * std::log(logArgument);
        break;
    }
    case 3:
        re = r * p.n1 * p.n3;
        break;
    case 4:
        re = r * p.n1 * p.n3;
        blFactor = std::cos(p.f2 * r) + 1;
        break;
    default:
        re = p.komp1 * (std::sin(p.n1 * r) + 1);
        break;
    }
    // Under formula set 4 re is r * n1 * n3 times a term of fi, tested per pixel.
    if ((m_tipRow != 4 && !isFiniteNumber(re)) || !isFiniteNumber(gr))
        return t;
    t.baTerm = 0;
    if (m_barvRow == 3) {
        const double grTerm = gr * std::sin(r * p.baf02);
        t.baTerm = m_tipRow == 4 ? grTerm : re + grTerm;
    } else if (m_barvRow == 5) {
        t.baTerm = std::log(1 + r);
    }
    t.re = re;
    t.gr = gr;
    t.blFactor = blFactor;
    return t;
}

} // namespace mandalix
