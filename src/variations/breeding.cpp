#include "variations/breeding.h"

#include "variations/parameter_ranges.h"

#include <algorithm>

namespace mandalix {

namespace {

PictureRecord childOf(const PictureRecord& a)
{
    PictureRecord child = a;
    child.isRepeat = false;
    child.replacements.clear();
    return child;
}

double mix(double a, double b, double place, const ParameterRange& range)
{
    if (range.isWhole())
        return place <= 0.5 ? a : b;
    return fitToRange(a + (b - a) * place, range);
}

PaletteWaves blendWaves(const PaletteWaves& a, const PaletteWaves& b, double place)
{
    PaletteWaves waves;
    for (int c = 0; c < 3; ++c) {
        waves.period[c] = mix(a.period[c], b.period[c], place, kPeriodRange);
        waves.phase[c] = mix(a.phase[c], b.phase[c], place, kPhaseRange);
        const double placeA = std::clamp((a.wavelength[c] - a.period[c]) / a.period[c], 0.0, 1.0);
        const double placeB = std::clamp((b.wavelength[c] - b.period[c]) / b.period[c], 0.0, 1.0);
        const double between = placeA + (placeB - placeA) * place;
        waves.wavelength[c] = fitToRange(waves.period[c] * (1.0 + between),
                                         wavelengthRange(waves.period[c]));
    }
    return waves;
}

} // namespace

PictureRecord crossover(const PictureRecord& a, const PictureRecord& b, Group fromB)
{
    PictureRecord child = childOf(a);
    for (const ParameterSpec& spec : kParameterSpecs) {
        if (spec.group == fromB)
            child.picture.*spec.field = b.picture.*spec.field;
    }
    if (fromB == Group::Palette)
        child.palette = b.palette;
    return child;
}

PictureRecord blend(const PictureRecord& a, const PictureRecord& b, double place)
{
    PictureRecord child = childOf(a);
    for (const ParameterSpec& spec : kParameterSpecs)
        child.picture.*spec.field = mix(a.picture.*spec.field, b.picture.*spec.field, place, spec.range);
    child.palette = blendWaves(a.palette, b.palette, place);
    return child;
}

std::vector<PictureRecord> breed(const PictureRecord& a, const PictureRecord& b)
{
    std::vector<PictureRecord> row;
    row.reserve(kGroupCount + kBlendPlaces.size());
    for (int g = 0; g < kGroupCount; ++g) {
        const auto group = static_cast<Group>(g);
        row.push_back(crossover(a, b, group));
        row.back().lineage = Lineage::crossoverOf(a.imeslike, b.imeslike, {groupName(group)});
    }
    for (const double place : kBlendPlaces) {
        row.push_back(blend(a, b, place));
        row.back().lineage = Lineage::interpolationOf(a.imeslike, b.imeslike, place);
    }
    return row;
}

} // namespace mandalix
