#include "program/generate_image.h"

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
#include "state/clock.h"

#include <cmath>
#include <set>
#include <vector>

#include "program/drawn_parameters.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {


QDateTime at(int hour, int minute, int second, int ms = 0)
{
    return QDateTime(QDate(2026, 12, 8), QTime(hour, minute, second, ms));
}

// A window's worth of state and surfaces with a strip drawn. White never occurs in a
// strip (its channels stay at or below 252), so white pixels are ones no picture painted.
struct Scene {
    WindowState s;
    Surface picture1{453, 453, kWhite};
    Surface picture2{453, 453, kWhite};
    Surface picture3{541, 21, kWhite};
    Rnd rnd;
    QDateTime moment; // when the next picture begins

    explicit Scene(const QDateTime& start) : moment(start)
    {
        Rnd stripRnd(1234.5f);
        DrawPalette(s, picture3, stripRnd);
    }

    bool generate(Pacer& pacer = noPacing())
    {
        return GenerateImage(s, picture1, picture2, picture3, rnd, moment, pacer);
    }

    // Repeat the parameters of the picture drawn at `moment`, with the formula set `tip`.
    void useParameters(const QDateTime& moment, double tip)
    {
        Rnd drawn(secondsSinceMidnight(moment));
        drawPictureParameters(s, drawn);
        s.tip = tip;
        s.ponovi = 1;
    }

    std::set<Colour> stripColours() const
    {
        std::set<Colour> colours;
        for (int column = 10; column <= 345; column += 5)
            colours.insert(picture3.Point(column, 10));
        return colours;
    }

    // Pixels of the picture that are not strip colours.
    int pixelsNotFromStrip() const
    {
        const std::set<Colour> colours = stripColours();
        int count = 0;
        for (int i = 0; i < picture1.width(); ++i)
            for (int j = 0; j < picture1.height(); ++j)
                count += colours.count(picture1.Point(i, j)) == 0;
        return count;
    }
};

TEST(GenerateImage_Parameters, RepeatKeepsAllSeventeenAnythingElseDrawsThemFromTheClock)
{
    Scene scene(at(9, 5, 7, 250));
    scene.s.nac = 1;
    scene.s.ponovi = 0;
    ASSERT_TRUE(scene.generate());
    const PictureParameters first = parametersDrawnAt(at(9, 5, 7, 250));
    EXPECT_EQ(parametersOf(scene.s), first);
    EXPECT_EQ(scene.s.imeslike, QStringLiteral("T20261208090507"));

    scene.moment = at(10, 15, 0);
    scene.s.ponovi = 1;
    ASSERT_TRUE(scene.generate());
    EXPECT_EQ(parametersOf(scene.s), first);
    EXPECT_EQ(scene.s.imeslike, QStringLiteral("T20261208101500"));
    EXPECT_EQ(scene.s.ponovi, 0);

    int second = 1;
    for (double ponovi : {0.0, 2.0, 0.5, -1.0, 1.0000001}) {
        SCOPED_TRACE(ponovi);
        const QDateTime moment = at(11, 0, ++second);
        scene.moment = moment;
        setParameters(scene.s, PictureParameters{-7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7,
                                                 -7, -7, -7, -7, -7});
        scene.s.ponovi = ponovi;
        ASSERT_TRUE(scene.generate());
        EXPECT_EQ(parametersOf(scene.s), parametersDrawnAt(moment));
        EXPECT_EQ(scene.s.ponovi, 0);
    }
}

TEST(GenerateImage_Course, ClearsTheSavingCopyNotThePictureAndZeroesTheChannels)
{
    Scene scene(at(12, 0, 0));
    scene.s.sir = -1; // no position to paint, so what the call itself does stays visible
    scene.s.vis = -1;
    scene.s.nac = 1;
    scene.picture1.PSet(5, 6, 0x010203);
    scene.picture2.PSet(5, 6, 0x010203);
    scene.picture2.setBackColor(0x0A0B0C);
    scene.s.re = scene.s.gr = scene.s.bl = 5;
    ASSERT_TRUE(scene.generate());
    EXPECT_EQ(scene.picture1.Point(5, 6), 0x010203);
    EXPECT_EQ(scene.picture2.Point(5, 6), 0x0A0B0C);
    EXPECT_EQ(scene.picture2.Point(0, 0), 0x0A0B0C);
    EXPECT_EQ(scene.s.re, 0);
    EXPECT_EQ(scene.s.gr, 0);
    EXPECT_EQ(scene.s.bl, 0);
}

TEST(GenerateImage_Picture, EveryTypeCoversThePictureWithStripColours)
{
    for (double nac : {1.0, 2.0, 3.0, 4.0, 0.0}) {
        SCOPED_TRACE(nac);
        Scene scene(at(13, 30, 0));
        scene.useParameters(at(8, 0, 0), 1); // formula set 1 never fails
        scene.s.nac = nac;
        ASSERT_TRUE(scene.generate());
        EXPECT_EQ(scene.pixelsNotFromStrip(), 0);
    }
}

// The noise colour the type 4 noise pass leaves at (column, row), worked out from the
// seed: column, row and colour draws, redrawing taken cells.
Colour noiseAt(const QDateTime& moment, int column, int row)
{
    Rnd rnd(secondsSinceMidnight(moment));
    std::vector<bool> taken(458 * 458, false);
    Colour found = kNoColour;
    for (int k = 0; k < 458 * 458; ++k) {
        int i = 0;
        int j = 0;
        do {
            i = static_cast<int>(std::floor(458 * static_cast<double>(rnd.next())));
            j = static_cast<int>(std::floor(458 * static_cast<double>(rnd.next())));
        } while (taken[i * 458 + j]);
        taken[i * 458 + j] = true;
        const auto colour = static_cast<Colour>(std::nearbyint(rnd.next() * 16777215.0));
        if (i == column && j == row)
            found = colour;
    }
    return found;
}

TEST(GenerateImage_FailingPixel, KeepsWhatThePictureShowedAndThePictureGoesOn)
{
    // Under formula set 2 the centre pixel takes the logarithm of 0 and fails.
    const QDateTime moment = at(14, 45, 30, 500);
    {
        SCOPED_TRACE("type 4 keeps the noise");
        Scene scene(moment);
        scene.useParameters(at(8, 0, 0), 2);
        scene.s.nac = 4;
        ASSERT_TRUE(scene.generate());
        const Colour noise = noiseAt(moment, 229, 229);
        EXPECT_EQ(scene.picture1.Point(229, 229), noise);
        EXPECT_EQ(scene.stripColours().count(noise), 0u);
    }
    {
        SCOPED_TRACE("type 1 keeps the old picture");
        Scene scene(moment);
        scene.useParameters(at(8, 0, 0), 2);
        scene.s.nac = 1;
        ASSERT_TRUE(scene.generate());
        EXPECT_EQ(scene.picture1.Point(229, 229), kWhite);
        // Positions after the centre are still painted, up to the last column.
        const std::set<Colour> colours = scene.stripColours();
        int paintedInLastColumn = 0;
        for (int j = 0; j < 453; ++j)
            paintedInLastColumn += colours.count(scene.picture1.Point(452, j)) == 1;
        EXPECT_GT(paintedInLastColumn, 0);
    }
}

TEST(GenerateImage_Repeatability, SameClockSamePictureOtherClockOtherPicture)
{
    Scene a(at(16, 20, 10, 125));
    Scene b(at(16, 20, 10, 125));
    Scene c(at(16, 20, 11, 125));
    ASSERT_TRUE(a.generate());
    ASSERT_TRUE(b.generate());
    ASSERT_TRUE(c.generate());
    EXPECT_EQ(a.picture1.image(), b.picture1.image());
    EXPECT_EQ(parametersOf(a.s), parametersOf(b.s));
    EXPECT_NE(a.picture1.image(), c.picture1.image());
}

struct StopAtFirstCheckpoint : Pacer {
    int checkpoints = 0;
    bool checkpoint(long long) override
    {
        ++checkpoints;
        return false;
    }
};

TEST(GenerateImage_Pacer, AStopEndsThePictureAfterTheBatch)
{
    Scene scene(at(18, 0, 0));
    scene.useParameters(at(8, 0, 0), 1);
    scene.s.nac = 1;
    StopAtFirstCheckpoint pacer;
    EXPECT_FALSE(scene.generate(pacer));
    EXPECT_EQ(pacer.checkpoints, 1);
    // The first batch: columns 0 and 1 whole (459 positions each), 106 rows of column 2;
    // of those, rows 0..452 lie on the picture.
    EXPECT_EQ(scene.pixelsNotFromStrip(), 453 * 453 - (453 + 453 + 106));
    EXPECT_NE(scene.picture1.Point(2, 105), kWhite);
    EXPECT_EQ(scene.picture1.Point(2, 106), kWhite);
}

} // namespace
} // namespace mandalix
