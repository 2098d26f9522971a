// A kept palette used: repainting the picture on show with it, or only taking it as the
// strip for the pictures that follow.
#include "program/program.h"

#include "palette/palette_strip.h"
#include "palette/strip_colours.h"
#include "program/picture_replay.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

struct UsePaletteTest : ::testing::Test {
    void SetUp() override
    {
        StartUp(program, noPacing());
        program.state.nac = 2; // a type that paints every pixel, so images compare whole
        (void)runCommand(program, cmd::RepeatImage{}, noPacing());
        (void)runCommand(program, cmd::ReplaceColour{200, 200}, noPacing());
        ASSERT_FALSE(program.picture.replacements.empty());
        Rnd rnd(11.0f);
        kept = drawPaletteWaves(rnd);
        ASSERT_NE(kept, program.strip);
    }

    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0, 0))};
    Program program{clock, Drives{}};
    PaletteWaves kept;
};

TEST_F(UsePaletteTest, RepaintPaintsThePictureOnShowWithTheWavesAndNoRecolourings)
{
    const Command use = cmd::UsePalette{kept, true};
    EXPECT_TRUE(paintsAPicture(use));
    EXPECT_TRUE(isStep(use));
    PictureRecord expected = program.picture;
    expected.palette = kept;
    expected.replacements.clear();

    (void)runCommand(program, use, noPacing());
    EXPECT_EQ(program.picture, expected);
    EXPECT_EQ(program.strip, kept);

    Program shown(clock, Drives{});
    StartUp(shown, noPacing());
    (void)runCommand(shown, cmd::ShowRecord{expected}, noPacing());
    EXPECT_EQ(program.surfaces.Picture1.image(), shown.surfaces.Picture1.image());
    EXPECT_EQ(program.surfaces.Picture3.image(), shown.surfaces.Picture3.image());
}

TEST_F(UsePaletteTest, WithoutRepaintOnlyTheStripChangesForTheNextNewPicture)
{
    const Command use = cmd::UsePalette{kept, false};
    EXPECT_FALSE(paintsAPicture(use));
    EXPECT_TRUE(isStep(use));
    const PictureRecord before = program.picture;
    const QImage picture1 = program.surfaces.Picture1.image();

    (void)runCommand(program, use, noPacing());
    EXPECT_EQ(program.picture, before);
    EXPECT_EQ(program.surfaces.Picture1.image(), picture1);
    EXPECT_EQ(sampleStrip(program.surfaces.Picture3), stripColours(kept)) << "the strip shows the waves";

    (void)runCommand(program, cmd::NewImageOldPalette{}, noPacing());
    EXPECT_EQ(program.picture.palette, kept);
}

} // namespace
} // namespace mandalix
