#include "variations/mutation.h"

#include "variations/parameter_ranges.h"

#include <algorithm>
#include <cmath>

namespace mandalix {

namespace {

// A continuous number moved by up to strength times its range, reflected at the ends.
double stepContinuous(double value, const ParameterRange& range, double strength, Rnd& rnd)
{
    const double span = range.max - range.min;
    double moved = fitToRange(value, range) + (2.0 * rnd.next() - 1.0) * strength * span;
    if (moved < range.min)
        moved = 2.0 * range.min - moved;
    if (moved > range.max)
        moved = 2.0 * range.max - moved;
    return fitToRange(moved, range);
}

// A whole number changed, with probability `strength`, to another allowed value at most
// strength times the range's count away.
double stepWhole(double value, const ParameterRange& range, double strength, Rnd& rnd)
{
    const double fitted = fitToRange(value, range);
    const bool changes = rnd.next() < strength;
    const double pick = rnd.next();
    const double side = rnd.next();
    const int count = range.count();
    if (!changes || count < 2)
        return fitted;
    const int index = static_cast<int>(std::lround((fitted - range.min) / range.unit));
    const int reach = std::clamp(static_cast<int>(std::lround(strength * (count - 1))), 1, count - 1);
    const int offset = 1 + static_cast<int>(pick * reach);
    int moved = side < 0.5 ? index - offset : index + offset;
    if (moved < 0 || moved >= count)
        moved = side < 0.5 ? index + offset : index - offset;
    if (moved < 0 || moved >= count)
        moved = index >= count / 2 ? 0 : count - 1;
    return range.min + range.unit * moved;
}

double step(double value, const ParameterRange& range, double strength, Rnd& rnd)
{
    return range.isWhole() ? stepWhole(value, range, strength, rnd)
                           : stepContinuous(value, range, strength, rnd);
}

PaletteWaves mutateWaves(const PaletteWaves& parent, double strength, Rnd& rnd)
{
    PaletteWaves waves = parent;
    for (int c = 0; c < 3; ++c) {
        const double oldPeriod = fitToRange(parent.period[c], kPeriodRange);
        const double place = (parent.wavelength[c] - oldPeriod) / oldPeriod;
        waves.period[c] = step(parent.period[c], kPeriodRange, strength, rnd);
        waves.phase[c] = step(parent.phase[c], kPhaseRange, strength, rnd);
        const ParameterRange range = wavelengthRange(waves.period[c]);
        const double kept = waves.period[c] * (1.0 + std::clamp(place, 0.0, 1.0));
        waves.wavelength[c] = step(kept, range, strength, rnd);
    }
    return waves;
}

} // namespace

ClampedStrength clampStrength(double strength)
{
    if (std::isnan(strength))
        return {kMinStrength, true};
    const double clamped = std::clamp(strength, kMinStrength, kMaxStrength);
    return {clamped, clamped != strength};
}

PictureRecord mutate(const PictureRecord& parent, double strength, Locks locks, Rnd& rnd)
{
    const double s = clampStrength(strength).value;
    PictureRecord child = parent;
    child.isRepeat = false;
    child.replacements.clear();
    for (const ParameterSpec& spec : kParameterSpecs) {
        if (!locks.isLocked(spec.group))
            child.picture.*spec.field = step(parent.picture.*spec.field, spec.range, s, rnd);
    }
    if (!locks.isLocked(Group::Palette))
        child.palette = mutateWaves(parent.palette, s, rnd);
    return child;
}

std::vector<PictureRecord> children(const PictureRecord& parent, int count, float seed,
                                    double strength, Locks locks)
{
    Rnd rnd(seed);
    const Lineage lineage = Lineage::mutatedFrom(parent.imeslike, seed, clampStrength(strength).value);
    std::vector<PictureRecord> result;
    result.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int k = 0; k < count; ++k) {
        result.push_back(mutate(parent, strength, locks, rnd));
        result.back().lineage = lineage;
    }
    return result;
}

} // namespace mandalix
