// The commands that paint pictures, as the window runs them: start-up, the two "new img"
// buttons and "repeat  image".
#include "program/program.h"

#include "generator/picture_parameters.h"
#include "output/image_name.h"

#include <QTemporaryDir>

#include <vector>

#include "program/drawn_parameters.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {


QDateTime at(int minute, int second)
{
    return QDateTime(QDate(2027, 2, 3), QTime(9, minute, second, 375));
}

// Pixels of the picture that are still the fresh picture box's colour.
int untouchedPixels(const Surface& picture1)
{
    int count = 0;
    for (int i = 0; i < picture1.width(); ++i)
        for (int j = 0; j < picture1.height(); ++j)
            count += picture1.Point(i, j) == kPictureBackColour;
    return count;
}

TEST(RunCommand_Pictures, StartUpPaintsAndEachCommandDrawsOrRepeatsAsItShould)
{
    QTemporaryDir tmp;
    FixedClock clock(at(5, 7));
    Program program(clock, Drives{tmp.path(), tmp.path(), false});
    WindowState& s = program.state;
    Surfaces& surfaces = program.surfaces;

    runCommand(program, cmd::StartUp{}, noPacing());
    EXPECT_EQ(s.nac, 4);
    EXPECT_EQ(parametersOf(s), parametersDrawnAt(at(5, 7)));
    EXPECT_EQ(s.imeslike, QStringLiteral("T20270203090507"));
    // Noise and picture cover every pixel; a pixel that fails keeps its noise.
    EXPECT_EQ(untouchedPixels(surfaces.Picture1), 0);
    s.nac = 1; // the fastest order for the rest

    clock.set(at(6, 0));
    const QImage strip = surfaces.Picture3.image();
    runCommand(program, cmd::NewImageOldPalette{}, noPacing());
    EXPECT_EQ(parametersOf(s), parametersDrawnAt(at(6, 0)));
    EXPECT_EQ(s.imeslike, QStringLiteral("T20270203090600"));
    EXPECT_EQ(surfaces.Picture3.image(), strip);

    clock.set(at(7, 0));
    runCommand(program, cmd::RepeatImage{}, noPacing());
    EXPECT_EQ(parametersOf(s), parametersDrawnAt(at(6, 0)));
    EXPECT_EQ(s.imeslike, QStringLiteral("T20270203090700"));
    EXPECT_EQ(s.ponovi, 0);

    clock.set(at(8, 0));
    runCommand(program, cmd::NewImageNewPalette{}, noPacing());
    EXPECT_NE(surfaces.Picture3.image(), strip);
    EXPECT_EQ(parametersOf(s), parametersDrawnAt(at(8, 0)));
    EXPECT_EQ(s.imeslike, QStringLiteral("T20270203090800"));
}

TEST(RunCommand_Pictures, ThePacerOfStartUpReachesThePicture)
{
    struct Stop : Pacer {
        int passes = 0;
        void beginPass(long long) override { ++passes; }
        bool checkpoint(long long) override { return false; }
    } stop;
    QTemporaryDir tmp;
    FixedClock clock(at(10, 0));
    Program program(clock, Drives{tmp.path(), tmp.path(), false});
    runCommand(program, cmd::StartUp{}, stop);
    EXPECT_EQ(stop.passes, 1) << "stopped inside the noise pass";
    EXPECT_GT(untouchedPixels(program.surfaces.Picture1), 453 * 453 - 1024);
}

} // namespace
} // namespace mandalix
