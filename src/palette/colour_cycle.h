// Colour cycling: a picture's palette positions shifted along the strip, so its colours
// flow through the rings while the picture itself stays as it is. The picture's own frame
// colour table (its strip's 68 colours, recoloured as the record says, and the entry of
// the pixels that fail) is rotated: position k shows the colour of position k + shift,
// the failed pixels' entry stays. After kPaletteIndices shifts the table is whole again,
// so a loop of that many frames closes. Pure functions; any thread; nothing fails.
#pragma once

#include <QList>
#include <QRgb>

namespace mandalix {

// `table` rotated by `shift` places (any whole number, taken modulo the 68 positions);
// entries past the 68 positions are kept as they are.
QList<QRgb> cycledColourTable(const QList<QRgb>& table, int shift);

} // namespace mandalix
