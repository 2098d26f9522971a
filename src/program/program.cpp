#include "program/program.h"

#include "palette/colour_replace.h"
#include "program/help_panel.h"
#include "program/status_caption.h"

namespace mandalix {

void StartUp(Program& program, Pacer& pacer)
{
    (void)pacer;
    WindowState& s = program.state;
    program.rnd.Randomize(secondsSinceMidnight(program.clock.now()));
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
}

namespace {

void advanceGenerationType(WindowState& s)
{
    s.nac = s.nac + 1;
    if (s.nac > 4)
        s.nac = 1;
}

} // namespace

CommandResult runCommand(Program& program, const Command& command, Pacer& pacer)
{
    (void)pacer;
    WindowState& s = program.state;
    Surfaces& surfaces = program.surfaces;
    switch (command.kind) {
    case CommandKind::StartUp:
        StartUp(program, pacer);
        break;
    case CommandKind::NewImageNewPalette:
        program.palette = DrawPalette(s, surfaces.Picture3, program.rnd);
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
    case CommandKind::NewImageOldPalette:
    case CommandKind::RepeatImage:
    case CommandKind::SaveOnDiskD:
    case CommandKind::SaveOnDiskC:
        break;
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
