#include "variations/morph.h"

#include "generator/picture_parameters.h"
#include "surface/colour.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mandalix {

namespace {

double between(double a, double b, double w, DrawHeld held)
{
    const double value = (1 - w) * a + w * b;
    return held == DrawHeld::Single ? toSingle(value) : value;
}

// The view at w: a's times (b's / a's) to the power w, so that zooming through it looks
// steady. The power cannot promise b's view to the bit at w = 1, so the ends are taken.
double viewBetween(double a, double b, double w)
{
    if (w <= 0)
        return a;
    if (w >= 1)
        return b;
    return std::clamp(a * std::pow(b / a, w), kMinView, kMaxView);
}

// The waves' periods are whole and switch with the other whole numbers; the wavelengths
// move on a line of their own, so the colours change smoothly across the switch.
PaletteWaves wavesBetween(const PaletteWaves& a, const PaletteWaves& b, double w, const PaletteWaves& nearer)
{
    PaletteWaves waves;
    for (std::size_t c = 0; c < 3; ++c) {
        waves.period[c] = nearer.period[c];
        waves.phase[c] = between(a.phase[c], b.phase[c], w, DrawHeld::Double);
        waves.wavelength[c] = between(a.wavelength[c], b.wavelength[c], w, DrawHeld::Single);
    }
    return waves;
}

Lineage lineageBetween(const PictureRecord& a, const PictureRecord& b, double w)
{
    // An interpolation lies strictly between its parents.
    if (w <= 0)
        return a.lineage;
    if (w >= 1)
        return b.lineage;
    return Lineage::interpolationOf(a.imeslike, b.imeslike, w);
}

} // namespace

double morphWeight(long long frame, long long frames)
{
    Q_ASSERT(frames >= 2 && frames % 2 == 0 && frame >= 0 && frame <= frames);
    const long long half = frames / 2;
    const long long fromEnd = std::min(frame, frames - frame);
    // The angle as pi times a fraction that is exactly 1 at the middle: cos(pi) is -1.
    const double angle = std::numbers::pi * (static_cast<double>(fromEnd) / static_cast<double>(half));
    return (1 - std::cos(angle)) / 2;
}

PictureRecord morphedRecord(const PictureRecord& a, const PictureRecord& b, double w)
{
    const PictureRecord& nearer = w < 0.5 ? a : b;
    PictureRecord record = a;
    record.isRepeat = w <= 0 && a.isRepeat;
    record.nac = nearer.nac;
    record.replacements = nearer.replacements;
    for (const ParameterDraw& draw : kParameterDraws) {
        if (!draw.field)
            continue;
        double& value = record.picture.*draw.field;
        value = draw.formula.isWhole()
            ? nearer.picture.*draw.field
            : between(a.picture.*draw.field, b.picture.*draw.field, w, draw.formula.held);
    }
    record.palette = wavesBetween(a.palette, b.palette, w, nearer.palette);
    record.view = viewBetween(a.view, b.view, w);
    record.lineage = lineageBetween(a, b, w);
    return record;
}

} // namespace mandalix
