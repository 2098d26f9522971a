#include "program/program.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace mandalix {
namespace {

struct ProgramFixture : ::testing::Test {
    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(20, 3, 2, 250))};
    Program program{clock, Drives{folder.path(), folder.path()}};
};

using StartUp_Defaults = ProgramFixture;

TEST_F(StartUp_Defaults, SetsTheStateNamesTheTypesAndDrawsAStrip)
{
    StartUp(program, noPacing());
    const WindowState& s = program.state;
    EXPECT_EQ(s.sir, 458);
    EXPECT_EQ(s.vis, 458);
    EXPECT_EQ(s.polx, 3);
    EXPECT_EQ(s.poly, 3);
    EXPECT_EQ(s.ponovi, 0);
    EXPECT_EQ(s.nac, 4);
    EXPECT_EQ(s.color, kBlack);
    EXPECT_EQ(s.imenac[1], "from left to right");
    EXPECT_EQ(s.imenac[2], "from centre ortogonal");
    EXPECT_EQ(s.imenac[3], "random point after point");
    EXPECT_EQ(s.imenac[4], "from order to chaos and back");
    for (int k : {0, 5, 6, 7, 8, 9, 10})
        EXPECT_TRUE(s.imenac[k].isEmpty()) << k;

    EXPECT_EQ(program.surfaces.Form1.BackColor(), kBlack);
    EXPECT_EQ(program.surfaces.Form1.Point(0, 0), kBlack);
    EXPECT_EQ(program.surfaces.Form1.Point(kFormWidthPx - 1, kFormHeightPx - 1), kBlack);
    EXPECT_NE(program.surfaces.Picture3.Point(0, 0), kPictureBackColour);
}

TEST_F(StartUp_Defaults, SeedsFromTheSecondsSinceMidnight)
{
    StartUp(program, noPacing());
    Program same(clock, program.drives);
    StartUp(same, noPacing());
    EXPECT_EQ(same.surfaces.Picture3.image(), program.surfaces.Picture3.image());

    FixedClock later(clock.now().addMSecs(500));
    Program other(later, program.drives);
    StartUp(other, noPacing());
    EXPECT_NE(other.surfaces.Picture3.image(), program.surfaces.Picture3.image());
}

using Commands_Table = ProgramFixture;

TEST_F(Commands_Table, ChangePaletteRedrawsTheStripOnly)
{
    StartUp(program, noPacing());
    const QImage picture = program.surfaces.Picture1.image();
    const QImage strip = program.surfaces.Picture3.image();
    runCommand(program, cmd::ChangePalette{}, noPacing());
    EXPECT_EQ(program.surfaces.Picture1.image(), picture);
    EXPECT_NE(program.surfaces.Picture3.image(), strip);
}

TEST_F(Commands_Table, GenerationTypeCyclesFourToOneAndWrapsAfterFour)
{
    StartUp(program, noPacing());
    const QImage picture = program.surfaces.Picture1.image();
    std::vector<double> seen;
    for (int k = 0; k < 5; ++k) {
        runCommand(program, cmd::GenerationType{}, noPacing());
        seen.push_back(program.state.nac);
    }
    EXPECT_EQ(seen, (std::vector<double>{1, 2, 3, 4, 1}));
    EXPECT_EQ(program.surfaces.Picture1.image(), picture);
}

} // namespace
} // namespace mandalix
