// The window's picture on show and its record: the record is made from one reading of
// the clock, and painting it again gives the picture on show.
#include "program/picture_replay.h"

#include "output/image_name.h"
#include "program/program.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

// A clock one millisecond further on at every reading, counting its readings.
class TickingClock final : public Clock {
public:
    explicit TickingClock(QDateTime start) : m_next(std::move(start)) { }
    QDateTime now() const override
    {
        ++readings;
        const QDateTime moment = m_next;
        m_next = m_next.addMSecs(1);
        return moment;
    }
    mutable int readings = 0;

private:
    mutable QDateTime m_next;
};

struct Window {
    QTemporaryDir folder;
    TickingClock clock{QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999))};
    Program program{clock, Drives{folder.path(), folder.path(), false}};

    void run(const Command& command) { (void)runCommand(program, command, noPacing()); }
};

TEST(PictureRecord_Moment, EachPictureReadsTheClockOnceForItsSeedAndItsName)
{
    Window window;
    window.run(cmd::StartUp{});
    EXPECT_EQ(window.clock.readings, 1) << "the strip and the first picture share one moment";
    // The last millisecond of the year: a second reading would already be in 2027.
    const PictureRecord& first = window.program.picture;
    EXPECT_EQ(first.imeslike, QStringLiteral("T20261231235959"));
    EXPECT_EQ(first.seed, secondsSinceMidnight(first.moment));
    EXPECT_EQ(window.program.state.imeslike, first.imeslike);

    for (const Command& command : {Command{cmd::NewImageOldPalette{}}, Command{cmd::RepeatImage{}},
                                   Command{cmd::NewImageNewPalette{}}}) {
        const int before = window.clock.readings;
        window.run(command);
        EXPECT_EQ(window.clock.readings, before + 1);
        const PictureRecord& record = window.program.picture;
        EXPECT_EQ(record.seed, secondsSinceMidnight(record.moment));
        EXPECT_EQ(record.imeslike, imageNameFor(record.moment));
        EXPECT_EQ(record.palette, window.program.strip);
        EXPECT_EQ(record.picture, parametersOf(window.program.state));
    }
}

// Painting the window's record again, in a program of its own, gives the window's
// picture: everywhere under type 4, whose noise covers the picture first, and under the
// other types wherever the pipeline painted (elsewhere the window shows the picture
// before, the fresh one its empty box).
TEST(PictureRecord_Replay, TheRecordOnShowPaintsThePictureOnShow)
{
    const struct {
        double nac;
        Command picture;
    } rows[] = {
        {4, cmd::NewImageOldPalette{}}, {1, cmd::NewImageNewPalette{}},
        {2, cmd::RepeatImage{}},        {3, cmd::NewImageOldPalette{}},
        {4, cmd::RepeatImage{}},
    };
    Window window;
    window.run(cmd::StartUp{});
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "nac " << row.nac << ", command " << row.picture.index());
        window.program.state.nac = row.nac;
        window.run(row.picture);
        window.run(cmd::PickColour{100, 10});
        window.run(cmd::ReplaceColour{226, 226});
        window.run(cmd::PickColour{300, 10});
        window.run(cmd::ReplaceColour{40, 400});
        const PictureRecord record = window.program.picture;
        EXPECT_EQ(record.nac, row.nac);
        EXPECT_EQ(record.isRepeat, std::holds_alternative<cmd::RepeatImage>(row.picture));
        ASSERT_EQ(record.replacements.size(), 2u);

        FixedClock unused(record.moment);
        Program again(unused, Drives{});
        ASSERT_TRUE(paintRecordedPicture(again.state, again.surfaces, again.rnd, record, noPacing()));
        EXPECT_EQ(parametersOf(again.state), parametersOf(window.program.state));
        EXPECT_EQ(again.state.imeslike, record.imeslike);
        EXPECT_EQ(again.surfaces.Picture3.image(), window.program.surfaces.Picture3.image());
        int painted = 0;
        int differing = 0;
        for (int i = 0; i < kPictureSizePx; ++i) {
            for (int j = 0; j < kPictureSizePx; ++j) {
                const Colour colour = again.surfaces.Picture1.Point(i, j);
                if (colour == kPictureBackColour)
                    continue;
                ++painted;
                differing += colour != window.program.surfaces.Picture1.Point(i, j);
            }
        }
        EXPECT_EQ(differing, 0);
        if (row.nac == 4)
            EXPECT_EQ(painted, kPictureSizePx * kPictureSizePx);
        else
            EXPECT_GT(painted, kPictureSizePx * kPictureSizePx / 4);
    }
}

// Each view copies only its own surface, when a command drew on it.
TEST(Surfaces_Changes, OnlyTheSurfacesACommandDrewOnMove)
{
    Window window;
    window.run(cmd::StartUp{});
    Surfaces& surfaces = window.program.surfaces;
    surfaces.publish();
    const struct {
        const char* name;
        Command command;
        bool form1, picture1, picture3;
    } rows[] = {
        {"change palette", cmd::ChangePalette{}, false, false, true},
        {"generation type", cmd::GenerationType{}, true, false, false},
        {"help", cmd::Help{}, false, true, false},
        {"save", cmd::SaveOnDiskC{}, false, false, false},
        {"pick", cmd::PickColour{5, 5}, false, false, false},
        {"replace", cmd::ReplaceColour{5, 5}, false, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::uint64_t form1 = surfaces.form1Changes;
        const std::uint64_t picture1 = surfaces.picture1Changes;
        const std::uint64_t picture3 = surfaces.picture3Changes;
        window.run(row.command);
        surfaces.publish();
        EXPECT_EQ(surfaces.form1Changes != form1, row.form1);
        EXPECT_EQ(surfaces.picture1Changes != picture1, row.picture1);
        EXPECT_EQ(surfaces.picture3Changes != picture3, row.picture3);
    }
    EXPECT_EQ(surfaces.changesOf(surfaces.Picture2), nullptr);
}

TEST(WindowState_Copy, ACopyIsEqualButDoesNotCarryTheVisitMarks)
{
    Window window;
    window.run(cmd::StartUp{});
    WindowState& s = window.program.state;
    s.visitedAt(3, 4) = 1;
    WindowState copy = s;
    EXPECT_EQ(copy, s);
    EXPECT_EQ(copy.visitedAt(3, 4), 0);
    copy.n1 += 1;
    EXPECT_NE(copy, s);
}

} // namespace
} // namespace mandalix
