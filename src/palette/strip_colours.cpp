#include "palette/strip_colours.h"

#include "generator/pixel_pipeline.h"
#include "palette/colour_replace.h"
#include "palette/palette_strip.h"
#include "surface/surface_sizes.h"

namespace mandalix {

StripColours stripColours(const PaletteWaves& waves)
{
    StripColours strip{};
    for (int k = 0; k < kPaletteIndices; ++k) {
        const int x = k * kStripStepPx + kStripFirstColumn;
        strip[static_cast<std::size_t>(k)] = rgbColour(paletteChannel(x, waves.wavelength[0], waves.phase[0]),
                                                       paletteChannel(x, waves.wavelength[1], waves.phase[1]),
                                                       paletteChannel(x, waves.wavelength[2], waves.phase[2]));
    }
    return strip;
}

QList<QRgb> frameColourTable(const PictureRecord& record)
{
    QList<QRgb> table;
    table.reserve(kPaletteIndices + 1);
    for (Colour colour : stripColours(record.palette))
        table.push_back(toArgb(colour));
    // The pixels that fail are black, as on the window's picture, and a recolouring of
    // black takes them too.
    table.push_back(toArgb(kBlack));
    ColourMap(record.replacements).mapTable(table);
    return table;
}

QImage paletteStripImage(const PaletteWaves& waves)
{
    WindowState scratch;
    Surface picture3(kStripWidthPx, kStripHeightPx, kPictureBackColour);
    paintPaletteStrip(waves, scratch, picture3);
    return picture3.image();
}

} // namespace mandalix
