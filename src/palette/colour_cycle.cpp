#include "palette/colour_cycle.h"

#include "generator/pixel_terms.h"

namespace mandalix {

QList<QRgb> cycledColourTable(const QList<QRgb>& table, int shift)
{
    QList<QRgb> cycled = table;
    const int positions = std::min<int>(kPaletteIndices, static_cast<int>(table.size()));
    if (positions == 0)
        return cycled;
    const int by = ((shift % positions) + positions) % positions;
    for (int k = 0; k < positions; ++k)
        cycled[k] = table[(k + by) % positions];
    return cycled;
}

} // namespace mandalix
