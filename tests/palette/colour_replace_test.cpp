#include "palette/colour_replace.h"

#include "program/help_panel.h"
#include "program/program.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

const Colour kSea = rgbColour(0, 90, 200);
const Colour kSand = rgbColour(230, 200, 120);
const Colour kLeaf = rgbColour(40, 160, 60);

// A picture of sea with two separate sand islands and one leaf patch; no black, no grey.
Surface islandPicture()
{
    Surface picture(kPictureSizePx, kPictureSizePx, kSea);
    picture.Cls();
    for (int y = 10; y < 40; ++y)
        for (int x = 15; x < 60; ++x)
            picture.PSet(x, y, kSand);
    for (int y = 400; y < 452; ++y)
        for (int x = 300; x < 453; ++x)
            picture.PSet(x, y, kSand);
    for (int y = 200; y < 220; ++y)
        for (int x = 200; x < 230; ++x)
            picture.PSet(x, y, kLeaf);
    return picture;
}

// `before` with every pixel of colour `from` turned to `to`, worked out pixel by pixel.
QImage recoloured(const QImage& before, Colour from, Colour to)
{
    QImage expected = before;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (expected.pixel(x, y) == toArgb(from))
                expected.setPixel(x, y, toArgb(to));
    return expected;
}

int count(const QImage& image, Colour colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == toArgb(colour);
    return n;
}

TEST(ColourReplace_ReplaceColour, TurnsEveryPixelOfThePressedColourBlackBeforeAnyPick)
{
    Surface picture = islandPicture();
    const QImage before = picture.image();
    WindowState s; // nothing picked yet
    ReplaceColour(s, picture, 20, 12);
    EXPECT_EQ(picture.image(), recoloured(before, kSand, kBlack));
    // Both islands: 45 x 30 and 153 x 52 pixels.
    EXPECT_EQ(count(picture.image(), kBlack), 45 * 30 + 153 * 52);
}

TEST(ColourReplace_ReplaceColour, ChangesNothingWhereThePressReadsNoNewColour)
{
    struct Row {
        const char* name;
        int x, y;
    };
    const Row rows[] = {
        {"on a pixel already of the picked colour", 210, 210},
        {"left of the drawing area", -1, 100},
        {"above the drawing area", 100, -2},
        {"right of the drawing area", 453, 100},
        {"in the scan's extra corner", 458, 458},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Surface picture = islandPicture();
        const QImage before = picture.image();
        WindowState s;
        s.color = kLeaf;
        ReplaceColour(s, picture, row.x, row.y);
        EXPECT_EQ(picture.image(), before);
    }
}

TEST(ColourReplace_ReplaceColour, SecondPressOnARewrittenPixelChangesNothing)
{
    Surface picture = islandPicture();
    const QImage before = picture.image();
    WindowState s;
    s.color = kLeaf;
    ReplaceColour(s, picture, 400, 450); // the lower island
    const QImage once = picture.image();
    EXPECT_EQ(once, recoloured(before, kSand, kLeaf));
    ReplaceColour(s, picture, 20, 12); // the upper island, rewritten above
    EXPECT_EQ(picture.image(), once);
}

TEST(ColourReplace_ReplaceColour, ScansColumnsAndRowsZeroToSirAndVisInclusive)
{
    // A surface wider and taller than the scan shows where it stops.
    Surface picture(461, 460, kSea);
    WindowState s;
    s.sir = 458;
    s.vis = 457;
    s.color = kSand;
    ReplaceColour(s, picture, 0, 0);
    EXPECT_EQ(picture.Point(458, 457), kSand);
    EXPECT_EQ(picture.Point(459, 0), kSea);
    EXPECT_EQ(picture.Point(0, 458), kSea);
    EXPECT_EQ(count(picture.image(), kSand), 459 * 458);
    EXPECT_EQ(s.i, 459);
    EXPECT_EQ(s.j, 458);
}

TEST(ColourReplace_ReplaceColour, RecoloursTheHelpPanelByTheSameRule)
{
    Surface picture = islandPicture();
    WindowState s;
    ShowHelp(s, picture);
    const QImage withPanel = picture.image();
    const Colour grey = rgbColour(200, 200, 200);
    ASSERT_GT(count(withPanel, grey), 0);
    ASSERT_GT(count(withPanel, kBlack), 0);

    s.color = kLeaf;
    ReplaceColour(s, picture, 25, 25); // the panel's grey
    const QImage greyReplaced = recoloured(withPanel, grey, kLeaf);
    EXPECT_EQ(picture.image(), greyReplaced);

    // A glyph pixel of "COMMAND BUTTONS": the text's black goes the same way.
    s.color = kSand;
    int glyphX = -1;
    for (int x = 30; x < 120 && glyphX < 0; ++x)
        if (picture.Point(x, 45) == kBlack)
            glyphX = x;
    ASSERT_GE(glyphX, 0);
    ReplaceColour(s, picture, glyphX, 45);
    EXPECT_EQ(picture.image(), recoloured(greyReplaced, kBlack, kSand));
}

TEST(ColourReplace_ReplaceColours, OneScanPaintsAsTheRecolouringsOneAfterAnother)
{
    const Colour kRock = rgbColour(90, 90, 90);
    const struct {
        const char* name;
        std::vector<ColourReplacement> list;
    } rows[] = {
        {"one", {{kSand, kLeaf}}},
        {"a chain sand to leaf to rock", {{kSand, kLeaf}, {kLeaf, kRock}}},
        {"the chain the other way round", {{kLeaf, kRock}, {kSand, kLeaf}}},
        {"a swap through a third colour", {{kSand, kRock}, {kLeaf, kSand}, {kRock, kLeaf}}},
        {"a cycle back to the start", {{kSand, kLeaf}, {kLeaf, kSea}, {kSea, kSand}}},
        {"all into one, then out again", {{kSand, kSea}, {kLeaf, kSea}, {kSea, kRock}, {kRock, kLeaf}}},
        {"colours not in the picture and no-ops", {{kRock, kWhite}, {kSand, kSand}, {kWhite, kSand}, {kBlack, kLeaf}}},
        {"no colour from outside the drawing area", {{kNoColour, kSand}, {kSea, kLeaf}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WindowState composed;
        Surface actual = islandPicture();
        // Worked out recolouring by recolouring, pixel by pixel.
        QImage expected = actual.image();
        for (const ColourReplacement& replacement : row.list)
            if (isColour(replacement.from))
                expected = recoloured(expected, replacement.from, replacement.to);
        replaceColours(composed, actual, row.list);
        EXPECT_EQ(actual.image(), expected);
        EXPECT_EQ(composed.i, kStartSir + 1);
        EXPECT_EQ(composed.j, kStartVis + 1);
        const ColourMap map(row.list);
        for (const Colour c : {kSand, kLeaf, kSea, kRock, kWhite, kBlack}) {
            Colour walked = c;
            for (const ColourReplacement& replacement : row.list)
                walked = walked == replacement.from ? replacement.to : walked;
            EXPECT_EQ(map(c), walked);
        }
    }
    WindowState untouched;
    untouched.i = 7;
    Surface picture = islandPicture();
    replaceColours(untouched, picture, {});
    EXPECT_EQ(untouched.i, 7);
    EXPECT_EQ(picture.image(), islandPicture().image());
}

TEST(ColourReplace_PickColour, TakesTheStripColourAndKeepsItOnTheBorder)
{
    Surface strip(kStripWidthPx, kStripHeightPx, kPictureBackColour);
    for (int x = 0; x < strip.width(); ++x)
        strip.Line(x, 0, x, strip.height() - 1, rgbColour(x % 256, 255 - x % 256, 7));
    WindowState s;
    PickColour(s, strip, 300, 20);
    EXPECT_EQ(s.color, rgbColour(300 % 256, 255 - 300 % 256, 7));
    for (auto [x, y] : {std::pair{-1, 5}, {-2, -2}, {541, 5}, {100, 21}, {100, -1}}) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        PickColour(s, strip, x, y);
        EXPECT_EQ(s.color, rgbColour(300 % 256, 255 - 300 % 256, 7));
    }
    PickColour(s, strip, 0, 0);
    EXPECT_EQ(s.color, rgbColour(0, 255, 7));
}

TEST(ColourReplace_Commands, PressOnTheStripThenOnThePictureRecolours)
{
    FixedClock clock(QDateTime(QDate(2024, 3, 1), QTime(10, 20, 30)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    program.surfaces.Picture1 = islandPicture();
    const QImage before = program.surfaces.Picture1.image();
    const QImage strip = program.surfaces.Picture3.image();
    const Colour picked = program.surfaces.Picture3.Point(123, 10);

    runCommand(program, cmd::PickColour{123, 10}, noPacing());
    EXPECT_EQ(program.state.color, picked);
    EXPECT_EQ(program.surfaces.Picture1.image(), before);

    runCommand(program, cmd::ReplaceColour{220, 205}, noPacing());
    EXPECT_EQ(program.surfaces.Picture1.image(), recoloured(before, kLeaf, picked));
    EXPECT_EQ(program.surfaces.Picture3.image(), strip);
}

} // namespace
} // namespace mandalix
