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

void ReplaceColour(WindowState& s, Surface& picture1, int x, int y)
{
    // Captured once, so pixels already rewritten are never matched again and the result
    // does not depend on the scan order.
    const Colour old = picture1.Point(x, y);
    for (s.i = 0; s.i <= s.sir; s.i = s.i + 1) {
        for (s.j = 0; s.j <= s.vis; s.j = s.j + 1) {
            const int column = static_cast<int>(s.i);
            const int row = static_cast<int>(s.j);
            // Outside the drawing area old and the read may both be no colour; PSet
            // ignores that position, so nothing changes there.
            if (picture1.Point(column, row) == old)
                picture1.PSet(column, row, s.color);
        }
    }
}

} // namespace mandalix
