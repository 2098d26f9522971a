#include "palette/colour_replace.h"

namespace mandalix {

void PickColour(WindowState& s, const Surface& picture3, int x, int y)
{
    const Colour picked = picture3.Point(x, y);
    // The border is no colour: taking it would make the next replacement erase nothing
    // but still cost the user the colour picked before.
    if (isColour(picked))
        s.color = picked;
}

void replaceColour(WindowState& s, Surface& picture1, const ColourReplacement& replacement)
{
    for (s.i = 0; s.i <= s.sir; s.i = s.i + 1) {
        for (s.j = 0; s.j <= s.vis; s.j = s.j + 1) {
            const int column = static_cast<int>(s.i);
            const int row = static_cast<int>(s.j);
            // Outside the drawing area the read is no colour, which `from` never is
            // for a recolouring made by a press, and PSet ignores that position.
            if (picture1.Point(column, row) == replacement.from)
                picture1.PSet(column, row, replacement.to);
        }
    }
}

std::optional<ColourReplacement> ReplaceColour(WindowState& s, Surface& picture1, int x, int y)
{
    // Captured once, so pixels already rewritten are never matched again and the result
    // does not depend on the scan order.
    const ColourReplacement replacement{picture1.Point(x, y), s.color};
    replaceColour(s, picture1, replacement);
    if (!isColour(replacement.from) || replacement.from == replacement.to)
        return std::nullopt;
    return replacement;
}

} // namespace mandalix
