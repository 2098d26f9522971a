// The colours a picture's pixels take, straight from the strip's waves without painting
// the strip: the 68 sampled palette positions, and the colour table of a frame painted
// from a record (those colours and black for the pixels that fail, recoloured as the
// record says). Pure functions on values, safe on any thread; nothing fails.
#pragma once

#include "generator/pixel_terms.h"
#include "state/picture_record.h"

#include <QImage>
#include <QList>
#include <QRgb>

namespace mandalix {

// The colour of each palette position as the painted strip shows it at its sampling row:
// column k * kStripStepPx + kStripFirstColumn of the waves, bit for bit.
StripColours stripColours(const PaletteWaves& waves);

// The 69 entries of a frame's colour table for `record`: the strip's colours and then
// entry kFailedIndex, black, with the record's recolourings applied once to all of them,
// as they are to the window's picture, whose failed pixels are black.
QList<QRgb> frameColourTable(const PictureRecord& record);

// The drawing area of the strip of `waves` as Picture3 shows it, on a fresh strip.
QImage paletteStripImage(const PaletteWaves& waves);

} // namespace mandalix
