#include "variations/record_editing.h"

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"

#include <algorithm>
#include <cmath>

namespace mandalix {

namespace {

struct ParameterWords {
    const char* words;
    const char* group;
};

// In the order of kParameterDraws, the dropped draw left out.
constexpr std::array<ParameterWords, kEditableParameters> kParameterWords = {{
    {"formula set of the three channels", "formulas"},
    {"formula of the place on the strip", "formulas"},
    {"rays: how many, in the blue channel", "rays"},
    {"rings: frequency of the spiral arms under formula set 4", "rings"},
    {"rings: frequency of the red channel", "rings"},
    {"rings: frequency of the green channel", "rings"},
    {"rings: frequency of red under formula set 2, the radius's factor under 3 and 4", "rings"},
    {"rings: frequency of the gaps under formula set 2", "rings"},
    {"amplitudes: strength of the red channel", "amplitudes"},
    {"amplitudes: strength of the green channel", "amplitudes"},
    {"amplitudes: strength of the blue channel", "amplitudes"},
    {"unused: drawn with the others, read by no pixel", "unused"},
    {"unused: drawn with the others, read by no pixel", "unused"},
    {"unused: drawn with the others, read by no pixel", "unused"},
    {"palette position: divisor of blue under formula 2", "palette position"},
    {"palette position: frequency of green's wave under formula 3", "palette position"},
    {"palette position: divisor of blue under formulas 3 and 5", "palette position"},
}};

constexpr std::array<const char*, kEditableWaves> kWaveCodes = {
    "period red", "phase red", "wavelength red", "period green", "phase green",
    "wavelength green", "period blue", "phase blue", "wavelength blue"};
constexpr std::array<const char*, kEditableWaves> kWaveWords = {
    "palette: how often the red wave repeats along the strip", "palette: where the red wave starts",
    "palette: the red wave's length", "palette: how often the green wave repeats along the strip",
    "palette: where the green wave starts", "palette: the green wave's length",
    "palette: how often the blue wave repeats along the strip", "palette: where the blue wave starts",
    "palette: the blue wave's length"};

// The parameters' draws, the dropped one left out.
std::array<const ParameterDraw*, kEditableParameters> parameterDraws()
{
    std::array<const ParameterDraw*, kEditableParameters> draws{};
    std::size_t k = 0;
    for (const ParameterDraw& draw : kParameterDraws)
        if (draw.field)
            draws[k++] = &draw;
    return draws;
}

std::array<EditableNumber, kEditableNumbers> makeNumbers()
{
    std::array<EditableNumber, kEditableNumbers> numbers{};
    const auto draws = parameterDraws();
    for (int k = 0; k < kEditableParameters; ++k) {
        const DrawFormula& formula = draws[static_cast<std::size_t>(k)]->formula;
        numbers[static_cast<std::size_t>(k)] = {draws[static_cast<std::size_t>(k)]->name,
                                                kParameterWords[static_cast<std::size_t>(k)].words,
                                                kParameterWords[static_cast<std::size_t>(k)].group,
                                                rangeOf(formula, formula.held == DrawHeld::Single)};
    }
    for (int w = 0; w < kEditableWaves; ++w) {
        // A wavelength's range is that of the longest period's: its own follows its period.
        const ParameterRange range = w % 3 == 0 ? kPeriodRange
                                   : w % 3 == 1 ? kPhaseRange
                                                : wavelengthRange(kPeriodRange.max);
        numbers[static_cast<std::size_t>(kEditableParameters + w)] = {
            kWaveCodes[static_cast<std::size_t>(w)], kWaveWords[static_cast<std::size_t>(w)], "palette",
            w % 3 == 2 ? ParameterRange{kPeriodRange.min, range.max, 0, true} : range};
    }
    return numbers;
}

double& waveNumber(PaletteWaves& waves, int w)
{
    const auto colour = static_cast<std::size_t>(w / 3);
    return w % 3 == 0 ? waves.period[colour] : w % 3 == 1 ? waves.phase[colour] : waves.wavelength[colour];
}

} // namespace

const std::array<const char*, 4> kFormulaSetNames = {
    "1: sine rings and rays", "2: rings with gaps (logarithm)", "3: the radius, with rings",
    "4: spiral arms"};
const std::array<const char*, 5> kPositionFormulaNames = {
    "1: the channels' sum", "2: blue waved", "3: green and blue waved", "4: red and blue doubled",
    "5: waved, growing outwards"};

const std::array<EditableNumber, kEditableNumbers>& editableNumbers()
{
    static const std::array<EditableNumber, kEditableNumbers> numbers = makeNumbers();
    return numbers;
}

double editableValue(const PictureRecord& record, int index)
{
    if (index < kEditableParameters)
        return record.picture.*(parameterDraws()[static_cast<std::size_t>(index)]->field);
    PaletteWaves waves = record.palette;
    return waveNumber(waves, index - kEditableParameters);
}

void setEditableValue(PictureRecord& record, int index, double value)
{
    if (index < kEditableParameters)
        record.picture.*(parameterDraws()[static_cast<std::size_t>(index)]->field) = value;
    else
        waveNumber(record.palette, index - kEditableParameters) = value;
}

PictureRecord randomised(const PictureRecord& record, const EditLocks& locked, Rnd& rnd)
{
    PictureRecord drawn = record;
    drawPictureParameters(drawn.picture, rnd);
    drawn.palette = drawPaletteWaves(rnd);
    PictureRecord result = record;
    for (int k = 0; k < kEditableNumbers; ++k)
        if (!locked.test(static_cast<std::size_t>(k)))
            setEditableValue(result, k, editableValue(drawn, k));
    return result;
}

ZoomedView zoomedView(double view, double factor)
{
    const double wanted = view / factor;
    if (!std::isfinite(wanted) || wanted <= kMinView)
        return {kMinView, true};
    if (wanted >= kMaxView)
        return {kMaxView, true};
    return {wanted, false};
}

} // namespace mandalix
