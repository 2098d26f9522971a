// Showing a record in the window, as the slide show does on leaving: it becomes the
// picture on show with its strip and parameters, so "repeat  image" paints it again.
#include "program/program.h"

#include "output/image_name.h"
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

// A zoomed record is shown at its view, and a repeat paints it again at that view; a new
// picture, with either strip, starts at the whole view again.
TEST(RunCommand_ShowRecord, ARepeatKeepsTheViewAndANewPictureStartsWhole)
{
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0, 0)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    PictureRecord record = program.picture;
    record.nac = 2;
    (void)runCommand(program, cmd::ShowRecord{record}, noPacing());
    const QImage whole = program.surfaces.Picture1.image();
    record.view = 1.5;
    (void)runCommand(program, cmd::ShowRecord{record}, noPacing());
    const QImage zoomed = program.surfaces.Picture1.image();
    EXPECT_NE(zoomed, whole);

    const auto expectView = [&](double view, const char* after) {
        EXPECT_EQ(program.picture.view, view) << after;
        EXPECT_EQ(program.state.polx, view) << after;
        EXPECT_EQ(program.state.poly, view) << after;
    };
    expectView(1.5, "show");
    (void)runCommand(program, cmd::RepeatImage{}, noPacing());
    expectView(1.5, "repeat");
    EXPECT_EQ(program.surfaces.Picture1.image(), zoomed);
    (void)runCommand(program, cmd::NewImageOldPalette{}, noPacing());
    expectView(kStartView, "new img / old palette");
    (void)runCommand(program, cmd::ShowRecord{record}, noPacing());
    (void)runCommand(program, cmd::NewImageNewPalette{}, noPacing());
    expectView(kStartView, "new img / new palette");
}

// An adopted variation is a new picture of the window: named after the moment it is
// taken, painted in the window's generation type, with its lineage.
TEST(RunCommand_ShowRecord, AnAdoptedPictureIsNamedNowAndPaintedInTheWindowsType)
{
    const QDateTime now(QDate(2026, 12, 9), QTime(9, 30, 15, 250));
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0, 0)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    program.state.nac = 1;
    PictureRecord made = program.picture;
    made.nac = 3;
    made.picture.n4 = 0.5;
    made.lineage = Lineage::mutatedFrom(program.picture.imeslike, 7, 0.25);
    clock.set(now);
    const Command adopt = cmd::Adopt{made};
    EXPECT_TRUE(paintsAPicture(adopt));
    EXPECT_TRUE(isStep(adopt));

    (void)runCommand(program, adopt, noPacing());
    PictureRecord expected = made;
    expected.nac = 1;
    expected.moment = now;
    expected.seed = secondsSinceMidnight(now);
    expected.imeslike = QStringLiteral("T20261209093015");
    EXPECT_EQ(program.picture, expected);

    Program shown(clock, Drives{});
    StartUp(shown, noPacing());
    (void)runCommand(shown, cmd::ShowRecord{expected}, noPacing());
    EXPECT_EQ(program.surfaces.Picture1.image(), shown.surfaces.Picture1.image());
}

} // namespace
} // namespace mandalix
