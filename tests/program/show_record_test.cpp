// Showing a record in the window, as the slide show does on leaving: it becomes the
// picture on show with its strip and parameters, so "repeat  image" paints it again.
#include "program/program.h"

#include "palette/palette_strip.h"
#include "program/picture_replay.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(RunCommand_ShowRecord, TheRecordBecomesThePictureOnShowAndARepeatPaintsItAgain)
{
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0, 0)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    WindowState other = program.state;
    other.nac = 2;
    Rnd rnd(11.0f);
    const QDateTime moment(QDate(2026, 12, 8), QTime(22, 10, 5, 500));
    const PictureRecord record =
        newPictureRecord(other, drawPaletteWaves(rnd), moment, secondsSinceMidnight(moment));
    ASSERT_NE(record.palette, program.strip);
    const Command show = cmd::ShowRecord{record};
    EXPECT_TRUE(paintsAPicture(show));

    (void)runCommand(program, show, noPacing());
    EXPECT_EQ(program.picture, record);
    EXPECT_EQ(program.strip, record.palette);
    EXPECT_EQ(parametersOf(program.state), record.picture);
    EXPECT_EQ(program.state.imeslike, record.imeslike);
    const QImage shown = program.surfaces.Picture1.image();

    (void)runCommand(program, cmd::RepeatImage{}, noPacing());
    EXPECT_TRUE(program.picture.isRepeat);
    EXPECT_EQ(program.picture.picture, record.picture);
    EXPECT_EQ(program.picture.palette, record.palette);
    EXPECT_EQ(program.surfaces.Picture1.image(), shown) << "type 2 paints every pixel alike";
}

} // namespace
} // namespace mandalix
