#include "program/program.h"

#include "output/image_name.h"
#include "output/picture_save.h"
#include "palette/colour_replace.h"
#include "palette/palette_strip.h"
#include "program/help_panel.h"
#include "program/picture_open.h"
#include "program/picture_replay.h"
#include "program/status_caption.h"

#include <QDir>

namespace mandalix {

namespace {

// A new picture begun at `moment`, from the strip on show: its record is made first and
// the picture painted from it, so the record on show always paints the picture on show.
// A stop (false) needs nothing more: the program is ending.
bool newPicture(Program& program, const QDateTime& moment, Pacer& pacer)
{
    program.picture = newPictureRecord(program.state, program.strip, moment,
                                       secondsSinceMidnight(moment));
    return paintRecordedPicture(program.state, program.surfaces, program.rnd, program.picture,
                                pacer);
}

void advanceGenerationType(WindowState& s)
{
    s.nac = s.nac + 1;
    if (s.nac > 4)
        s.nac = 1;
}

// A save tells the user where the file went, or why it is not there; either way the
// program goes on with the picture as it was.
CommandResult reportSave(const SaveResult& result)
{
    if (!result.ok)
        return {CommandResult::Kind::Error, result.message};
    return {CommandResult::Kind::Info,
            QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(result.value))};
}

// Each command of the window, run on the program.
struct CommandRunner {
    Program& program;
    Pacer& pacer;
    WindowState& s = program.state;
    Surfaces& surfaces = program.surfaces;
    bool isStopped = false;

    CommandResult operator()(cmd::StartUp) { isStopped = !StartUp(program, pacer); return {}; }
    CommandResult operator()(cmd::NewImageNewPalette)
    {
        program.strip = DrawPalette(s, surfaces.Picture3, program.rnd);
        isStopped = !newPicture(program, program.clock.now(), pacer);
        return {};
    }
    CommandResult operator()(cmd::NewImageOldPalette)
    {
        isStopped = !newPicture(program, program.clock.now(), pacer);
        return {};
    }
    CommandResult operator()(cmd::RepeatImage)
    {
        s.ponovi = 1;
        isStopped = !newPicture(program, program.clock.now(), pacer);
        return {};
    }
    CommandResult operator()(cmd::ChangePalette)
    {
        program.strip = DrawPalette(s, surfaces.Picture3, program.rnd);
        return {};
    }
    CommandResult operator()(cmd::GenerationType)
    {
        advanceGenerationType(s);
        ShowGenerationType(s, surfaces.Form1);
        return {};
    }
    CommandResult operator()(cmd::Help)
    {
        ShowHelp(s, surfaces.Picture1);
        return {};
    }
    CommandResult operator()(cmd::SaveOnDiskD)
    {
        return reportSave(SaveOnDiskD(s, surfaces.Picture1, surfaces.Picture2, program.drives));
    }
    CommandResult operator()(cmd::SaveOnDiskC)
    {
        return reportSave(SaveOnDiskC(s, surfaces.Picture1, surfaces.Picture2, program.drives));
    }
    CommandResult operator()(const cmd::PickColour& press)
    {
        PickColour(s, surfaces.Picture3, press.x, press.y);
        return {};
    }
    CommandResult operator()(const cmd::ShowRecord& shown)
    {
        // The record's strip and parameters become the window's, so a repeat paints them.
        program.strip = shown.record.palette;
        program.picture = shown.record;
        paintRecordedPicture(s, surfaces, program.rnd, program.picture, pacer);
        return {};
    }
    CommandResult operator()(const cmd::Adopt& adopted)
    {
        PictureRecord record = bornAt(adopted.record, program.clock.now());
        record.nac = s.nac;
        return (*this)(cmd::ShowRecord{std::move(record)});
    }
    CommandResult operator()(const cmd::UsePalette& use)
    {
        if (!use.repaint) {
            program.strip = use.waves;
            paintPaletteStrip(use.waves, s, surfaces.Picture3);
            return {};
        }
        PictureRecord record = program.picture;
        record.palette = use.waves;
        record.replacements.clear();
        return (*this)(cmd::ShowRecord{std::move(record)});
    }
    CommandResult operator()(const cmd::ReplaceColour& press)
    {
        if (const auto made = ReplaceColour(s, surfaces.Picture1, press.x, press.y))
            program.picture.replacements.push_back(*made);
        return {};
    }
    CommandResult operator()(const cmd::Open& open) { return openPicture(program, open, pacer); }
    // Steps and kept pictures belong to a session (undo/session.h): a program alone has
    // none to move between.
    CommandResult operator()(cmd::Undo) { return {}; }
    CommandResult operator()(cmd::Redo) { return {}; }
    CommandResult operator()(const cmd::RestoreKept&) { return {}; }
};

} // namespace

bool StartUp(Program& program, Pacer& pacer)
{
    WindowState& s = program.state;
    const QDateTime moment = program.clock.now();
    program.rnd.Randomize(secondsSinceMidnight(moment));
    program.surfaces.Form1.setBackColor(kBlack);
    program.surfaces.Form1.Cls();

    setStartUpDefaults(s);
    for (int k = 1; k <= 4; ++k)
        s.imenac[k] = QString::fromLatin1(kGenerationTypeNames[k]);
    ShowGenerationType(s, program.surfaces.Form1);

    program.strip = DrawPalette(s, program.surfaces.Picture3, program.rnd);
    return newPicture(program, moment, pacer);
}

CommandResult runCommand(Program& program, const Command& command, Pacer& pacer)
{
    CommandRunner runner{program, pacer};
    CommandResult result = std::visit(runner, command);
    result.isStopped = runner.isStopped;
    return result;
}

} // namespace mandalix
