#include "variations/parameter_ranges.h"

#include "surface/colour.h"

#include <algorithm>
#include <cmath>

namespace mandalix {

ParameterRange wavelengthRange(double period)
{
    return {period, 2.0 * period, 0, true};
}

double fitToRange(double value, const ParameterRange& range)
{
    if (range.isWhole()) {
        const double steps = std::round((value - range.min) / range.unit);
        return range.min + range.unit * std::clamp(steps, 0.0, double(range.count() - 1));
    }
    // The ends of a single-precision range are themselves single, so rounding the clamped
    // value keeps it inside.
    const double fitted = std::clamp(value, range.min, range.max);
    return range.isSingle ? toSingle(fitted) : fitted;
}

bool isInRange(double value, const ParameterRange& range)
{
    if (range.isSingle && toSingle(value) != value)
        return false;
    if (range.isWhole()) {
        const double steps = (value - range.min) / range.unit;
        return steps == std::floor(steps) && steps >= 0 && steps <= range.count() - 1;
    }
    return value >= range.min && value <= range.max;
}

} // namespace mandalix
