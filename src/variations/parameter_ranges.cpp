#include "variations/parameter_ranges.h"

#include "surface/colour.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    double fitted = std::clamp(value, range.min, range.max);
    if (range.isSingle)
        fitted = toSingle(fitted);
    if (fitted >= range.max) {
        fitted = range.isSingle
            ? double(std::nextafter(float(range.max), -std::numeric_limits<float>::infinity()))
            : std::nextafter(range.max, range.min);
        // A single max may lie above the double one (0.1 is not a float).
        if (fitted >= range.max)
            fitted = double(std::nextafter(float(fitted), -std::numeric_limits<float>::infinity()));
    }
    if (fitted < range.min)
        fitted = range.isSingle ? double(std::nextafter(float(range.min), float(range.max)))
                                : range.min;
    return fitted;
}

bool isInRange(double value, const ParameterRange& range)
{
    if (range.isSingle && toSingle(value) != value)
        return false;
    if (range.isWhole()) {
        const double steps = (value - range.min) / range.unit;
        return steps == std::floor(steps) && steps >= 0 && steps <= range.count() - 1;
    }
    return value >= range.min && value < range.max;
}

} // namespace mandalix
