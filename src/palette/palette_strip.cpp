#include "palette/palette_strip.h"

#include "surface/colour.h"

#include <cmath>

namespace mandalix {

PaletteWaves drawPaletteWaves(Rnd& rnd)
{
    PaletteWaves waves;
    for (double& period : waves.period)
        period = toSingle(kPeriodDraw.value(rnd.next()));
    for (double& phase : waves.phase)
        phase = kPhaseDraw.value(rnd.next());
    for (int c = 0; c < 3; ++c) {
        const double scaled = toSingle(waves.period[c] * rnd.next());
        waves.wavelength[c] = toSingle(scaled + waves.period[c]);
    }
    return waves;
}

double paletteChannel(int x, double wavelength, double phase)
{
    const double quotient = toSingle(x / wavelength);
    return (std::sin(quotient + phase) + 1.0) * 126.0;
}

void paintPaletteStrip(const PaletteWaves& waves, WindowState& s, Surface& picture3)
{
    for (int x = 0; x < kStripColumns; ++x) {
        s.re = paletteChannel(x, waves.wavelength[0], waves.phase[0]);
        s.gr = paletteChannel(x, waves.wavelength[1], waves.phase[1]);
        s.bl = paletteChannel(x, waves.wavelength[2], waves.phase[2]);
        picture3.Line(x, 0, x, kStripRowLast, rgbColour(s.re, s.gr, s.bl));
    }
}

PaletteWaves DrawPalette(WindowState& s, Surface& picture3, Rnd& rnd)
{
    const PaletteWaves waves = drawPaletteWaves(rnd);
    paintPaletteStrip(waves, s, picture3);
    return waves;
}

} // namespace mandalix
