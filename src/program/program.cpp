#include "program/program.h"

#include "program/generate_image.h"
#include "output/picture_save.h"
#include "palette/colour_replace.h"
#include "program/help_panel.h"
#include "program/status_caption.h"

#include <QDir>

namespace mandalix {

namespace {

// A new picture from the program's state, surfaces, generator and clock. A stop needs
// nothing more: the program is ending.
void generateImage(Program& program, Pacer& pacer)
{
    Surfaces& surfaces = program.surfaces;
    GenerateImage(program.state, surfaces.Picture1, surfaces.Picture2, surfaces.Picture3,
                  program.rnd, program.clock, pacer);
}

} // namespace

void StartUp(Program& program, Pacer& pacer)
{
    WindowState& s = program.state;
    program.rnd.Randomize(program.clock.secondsSinceMidnight());
    program.surfaces.Form1.setBackColor(kBlack);
    program.surfaces.Form1.Cls();

    s.sir = 458;
    s.vis = 458;
    s.polx = 3;
    s.poly = 3;
    s.ponovi = 0;
    s.nac = 4;
    for (int k = 1; k <= 4; ++k)
        s.imenac[k] = QString::fromLatin1(kGenerationTypeNames[k]);
    ShowGenerationType(s, program.surfaces.Form1);

    program.palette = DrawPalette(s, program.surfaces.Picture3, program.rnd);
    generateImage(program, pacer);
}

namespace {

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

} // namespace

CommandResult runCommand(Program& program, const Command& command, Pacer& pacer)
{
    WindowState& s = program.state;
    Surfaces& surfaces = program.surfaces;
    switch (command.kind) {
    case CommandKind::StartUp:
        StartUp(program, pacer);
        break;
    case CommandKind::NewImageNewPalette:
        program.palette = DrawPalette(s, surfaces.Picture3, program.rnd);
        generateImage(program, pacer);
        break;
    case CommandKind::NewImageOldPalette:
        generateImage(program, pacer);
        break;
    case CommandKind::RepeatImage:
        s.ponovi = 1;
        generateImage(program, pacer);
        break;
    case CommandKind::ChangePalette:
        program.palette = DrawPalette(s, surfaces.Picture3, program.rnd);
        break;
    case CommandKind::GenerationType:
        advanceGenerationType(s);
        ShowGenerationType(s, surfaces.Form1);
        break;
    case CommandKind::Help:
        ShowHelp(s, surfaces.Picture1);
        break;
    case CommandKind::SaveOnDiskD:
        return reportSave(SaveOnDiskD(s, surfaces.Picture1, surfaces.Picture2, program.drives));
    case CommandKind::SaveOnDiskC:
        return reportSave(SaveOnDiskC(s, surfaces.Picture1, surfaces.Picture2, program.drives));
    case CommandKind::PickColour:
        PickColour(s, surfaces.Picture3, command.x, command.y);
        break;
    case CommandKind::ReplaceColour:
        ReplaceColour(s, surfaces.Picture1, command.x, command.y);
        break;
    }
    return {};
}

} // namespace mandalix
