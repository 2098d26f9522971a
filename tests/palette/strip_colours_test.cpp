// The strip's colours worked out from its waves against the painted strip, and the frame
// colour table of a record: recoloured once, its failed entry as black is.
#include "palette/strip_colours.h"

#include "generator/pixel_pipeline.h"
#include "palette/palette_strip.h"
#include "surface/surface_sizes.h"

#include <gtest/gtest.h>

#include <random>

namespace mandalix {
namespace {

TEST(StripColours_Waves, EqualTheColoursSampledFromThePaintedStrip)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> seconds(0.0f, 86399.0f);
    int different = 0;
    for (int k = 0; k < 300; ++k) {
        Rnd rnd(seconds(random));
        const PaletteWaves waves = drawPaletteWaves(rnd);
        WindowState s;
        Surface picture3(kStripWidthPx, kStripHeightPx, kPictureBackColour);
        paintPaletteStrip(waves, s, picture3);
        different += stripColours(waves) != sampleStrip(picture3);
        if (k == 0) {
            EXPECT_EQ(paletteStripImage(waves), picture3.image());
        }
    }
    EXPECT_EQ(different, 0);
}

TEST(FrameColourTable_Record, RecolouredOnceTheFailedEntryAsBlack)
{
    PictureRecord record;
    Rnd rnd(4242.0f);
    record.palette = drawPaletteWaves(rnd);
    const StripColours strip = stripColours(record.palette);
    const Colour first = strip[0];
    const Colour other = 0x010203;
    // first -> other -> first again, and black -> white: first ends as itself, and the
    // failed entry, black, turns white as the window's failed pixels do.
    record.replacements = {{first, other}, {other, first}, {kBlack, kWhite}, {strip[5], other}};
    const QList<QRgb> table = frameColourTable(record);
    ASSERT_EQ(table.size(), kPaletteIndices + 1);
    for (int k = 0; k < kPaletteIndices; ++k) {
        SCOPED_TRACE(k);
        const Colour colour = strip[static_cast<std::size_t>(k)];
        const Colour expected = colour == strip[5] ? other : colour == kBlack ? kWhite : colour;
        EXPECT_EQ(table[k], toArgb(expected));
    }
    EXPECT_EQ(table[kFailedIndex], toArgb(kWhite));
}

} // namespace
} // namespace mandalix
