// How a draw turns a number of the random generator into a parameter: Rnd * width +
// offset, then held as the parameter is held (a whole number, possibly a multiple of a
// unit, single or double precision). The parameter draw and the strip's wave draw state
// their constants once in these, and the variations derive their ranges from the same.
// Constant values, safe on any thread; nothing fails.
#pragma once

#include "generator/rnd.h"
#include "surface/colour.h"

#include <type_traits>

namespace mandalix {

enum class DrawHeld { Whole, Single, Double };

struct DrawFormula {
    double width = 0;
    double offset = 0;
    DrawHeld held = DrawHeld::Double;
    // A whole draw is unit * Int(Rnd * width + offset): 2 for the even counts.
    double unit = 1;

    constexpr bool isWhole() const { return held == DrawHeld::Whole; }

    // The parameter drawn from `r`, with the operations in the order the draw has always
    // made them: the same bits at run time as in a constant expression.
    constexpr double value(double r) const
    {
        // An offset of 0 adds nothing, and a unit of 1 multiplies by nothing: neither is
        // applied, so the draws without them stay the plain product and Int.
        const double scaled = offset == 0 ? r * width : r * width + offset;
        switch (held) {
        case DrawHeld::Whole:
            return unit == 1 ? wholePart(scaled) : unit * wholePart(scaled);
        case DrawHeld::Single:
            return std::is_constant_evaluated() ? static_cast<double>(static_cast<float>(scaled)) : toSingle(scaled);
        case DrawHeld::Double:
            break;
        }
        return scaled;
    }

    // The smallest value, drawn at Rnd = 0.
    constexpr double lowest() const { return value(0.0); }
    // The largest whole value, drawn at the largest Rnd; for a continuous draw the bound
    // it approaches as Rnd nears 1, which rounding to single precision may reach.
    constexpr double highest() const { return isWhole() ? value(kRndLargest) : value(1.0); }

private:
    // Int, also in a constant expression (where std::floor may not be called).
    static constexpr double wholePart(double v)
    {
        if (!std::is_constant_evaluated())
            return Int(v);
        const auto truncated = static_cast<double>(static_cast<long long>(v));
        return truncated > v ? truncated - 1 : truncated;
    }
};

} // namespace mandalix
