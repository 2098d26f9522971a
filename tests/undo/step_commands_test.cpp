#include "undo/step_commands.h"

#include "history/picture_history.h"
#include "program/record_painting.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

// What undo must bring back: the pixels of both shown surfaces and the state that goes
// with them.
struct Shown {
    QImage picture1;
    QImage picture3;
    PictureRecord picture;
    PaletteWaves strip;
    PictureParameters parameters;
    QString imeslike;
    bool operator==(const Shown&) const = default;
};

Shown shownBy(const Program& p)
{
    return {p.surfaces.Picture1.image(), p.surfaces.Picture3.image(), p.picture, p.strip,
            parametersOf(p.state), p.state.imeslike};
}

struct StepFixture : ::testing::Test {
    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(20, 3, 2, 250))};
    Session program{clock, Drives{folder.path(), folder.path()}};

    void run(const Command& command, int secondsLater = 0)
    {
        clock.set(clock.now().addSecs(secondsLater));
        const CommandResult result = runCommand(program, command, noPacing());
        ASSERT_NE(result.kind, CommandResult::Kind::Error) << result.text.toStdString();
    }
};

using Steps_UndoRedo = StepFixture;

TEST_F(Steps_UndoRedo, BringBackEveryStepExactlyAndRepeatPaintsTheOneOnShow)
{
    run(cmd::StartUp{});
    const Shown a = shownBy(program);
    run(cmd::NewImageNewPalette{}, 1);
    const Shown b = shownBy(program);
    run(cmd::PickColour{300, 10});
    run(cmd::ReplaceColour{226, 226});
    const Shown recoloured = shownBy(program);
    ASSERT_FALSE(recoloured.picture.replacements.empty());
    run(cmd::Help{});
    const Shown help = shownBy(program);
    run(cmd::ChangePalette{});
    const Shown palette = shownBy(program);
    ASSERT_NE(a.picture1, b.picture1);
    ASSERT_NE(palette.picture3, help.picture3);

    // Undo walks back through every step, redo forth, each shown as it was.
    const std::vector<const Shown*> order{&a, &b, &recoloured, &help, &palette};
    for (int k = static_cast<int>(order.size()) - 2; k >= 0; --k) {
        run(cmd::Undo{});
        EXPECT_TRUE(shownBy(program) == *order[k]) << "undo to step " << k;
    }
    run(cmd::Undo{});
    EXPECT_TRUE(shownBy(program) == a) << "nothing before the first step";
    for (std::size_t k = 1; k < order.size(); ++k) {
        run(cmd::Redo{});
        EXPECT_TRUE(shownBy(program) == *order[k]) << "redo to step " << k;
    }

    // Back to the first picture, "repeat  image" paints it again from its parameters.
    for (int k = 0; k < 4; ++k)
        run(cmd::Undo{});
    run(cmd::RepeatImage{}, 1);
    EXPECT_EQ(program.picture.picture, a.picture.picture);
    EXPECT_EQ(program.picture.palette, a.picture.palette);
    EXPECT_TRUE(program.picture.isRepeat);
    EXPECT_FALSE(program.steps.canRedo()) << "a new step drops the redo steps";
}

TEST_F(Steps_UndoRedo, UndoBringsBackAZoomedPictureAtItsViewForARepeat)
{
    run(cmd::StartUp{});
    PictureRecord zoomed = program.picture;
    zoomed.nac = 2; // paints every pixel alike
    zoomed.view = 0.75;
    run(cmd::ShowRecord{zoomed});
    const Shown shown = shownBy(program);
    run(cmd::NewImageOldPalette{}, 1);
    ASSERT_EQ(program.state.polx, kStartView);
    run(cmd::Undo{});
    EXPECT_TRUE(shownBy(program) == shown);
    EXPECT_EQ(program.state.polx, 0.75);
    EXPECT_EQ(program.state.poly, 0.75);
    run(cmd::RepeatImage{}, 1);
    EXPECT_EQ(program.picture.view, 0.75);
    EXPECT_EQ(program.surfaces.Picture1.image(), shown.picture1);
}

TEST_F(Steps_UndoRedo, APressThatRecoloursNothingAddsNoStep)
{
    run(cmd::StartUp{});
    run(cmd::PickColour{-5, -5}); // on the border: black is picked
    const std::size_t before = program.steps.size();
    run(cmd::ReplaceColour{-1, -1});
    run(cmd::GenerationType{});
    run(cmd::SaveOnDiskC{});
    EXPECT_EQ(program.steps.size(), before);
}

using Steps_History = StepFixture;

TEST_F(Steps_History, KeepsEachPictureAsItLastStoodWhenAnotherReplacesIt)
{
    QTemporaryDir kept;
    PictureHistory history(kept.path());
    std::vector<HistoryEntry> written;
    std::mutex writtenMutex;
    history.start([&](const HistoryNews& news) {
        if (const auto* k = std::get_if<history::Kept>(&news)) {
            std::lock_guard lock(writtenMutex);
            written.push_back(k->entry);
        }
    });
    program.history = &history;

    run(cmd::StartUp{});
    run(cmd::PickColour{300, 10});
    run(cmd::ReplaceColour{226, 226});
    const Shown a = shownBy(program);
    run(cmd::Help{}); // the panel over the picture is never kept
    run(cmd::NewImageOldPalette{}, 2);
    const Shown b = shownBy(program);
    const QByteArray bPng = program.steps.current()->picture1;
    run(cmd::Undo{}); // b goes: kept too
    keepShownPicture(program);
    history.finish();

    ASSERT_EQ(written.size(), 3u);
    const KeptRead first = readKeptPicture(written[0].path);
    ASSERT_TRUE(first.ok) << first.message.toStdString();
    EXPECT_EQ(first.value.pixels, a.picture1) << "kept with its recolouring, without the help panel";
    EXPECT_EQ(first.value.record, a.picture);
    EXPECT_EQ(readKeptPicture(written[1].path).value.pixels, b.picture1);
    QFile bFile(written[1].path);
    ASSERT_TRUE(bFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(bFile.readAll(), bPng) << "the step's own bytes, not encoded again";
    EXPECT_EQ(written[2].path, written[0].path) << "the same picture keeps its one file";
    EXPECT_EQ(QDir(kept.path()).entryList(QDir::Files).size(), 2);

    // A kept picture shown again is the picture on show, recolourings and all.
    run(cmd::NewImageNewPalette{}, 2);
    run(cmd::RestoreKept{written[0].path});
    EXPECT_TRUE(shownBy(program) == a);
}

// A press that recolours the help panel recolours the record too: the picture kept is
// what that record paints, never the panel.
TEST_F(Steps_History, ARecolouringOverTheHelpPanelKeepsWhatTheRecordPaints)
{
    QTemporaryDir kept;
    PictureHistory history(kept.path());
    std::vector<QString> written;
    std::mutex writtenMutex;
    history.start([&](const HistoryNews& news) {
        if (const auto* k = std::get_if<history::Kept>(&news)) {
            std::lock_guard lock(writtenMutex);
            written.push_back(k->entry.path);
        }
    });
    program.history = &history;
    run(cmd::StartUp{});
    run(cmd::Help{});
    run(cmd::PickColour{300, 10});
    run(cmd::ReplaceColour{100, 100});
    const Shown covered = shownBy(program);
    ASSERT_FALSE(covered.picture.replacements.empty());
    run(cmd::NewImageOldPalette{}, 2);
    history.finish();
    ASSERT_EQ(written.size(), 1u);
    const KeptRead read = readKeptPicture(written[0]);
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(read.value.record, covered.picture);
    EXPECT_EQ(read.value.pixels, paintRecordAtWindowSize(covered.picture));
    EXPECT_NE(read.value.pixels, covered.picture1);
}

// "repeat  image" with nothing changed paints the same picture again: one file for it.
TEST_F(Steps_History, ARepeatWithNothingChangedIsKeptOnce)
{
    QTemporaryDir kept;
    PictureHistory history(kept.path());
    history.start({});
    program.history = &history;
    run(cmd::StartUp{});
    run(cmd::RepeatImage{}, 1);
    run(cmd::RepeatImage{}, 1);
    run(cmd::NewImageOldPalette{}, 1);
    keepShownPicture(program);
    history.finish();
    EXPECT_EQ(QDir(kept.path()).entryList(QDir::Files).size(), 2);
}

} // namespace
} // namespace mandalix
