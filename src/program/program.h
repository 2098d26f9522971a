// The program without its window: the window state, the four surfaces, the random
// generator and the clock, the strip on show and the record of the picture on show, with
// start-up and the user's commands. One thread runs it at a time (the worker, or a
// test); the window only reads the surfaces under their lock. Failures that the user
// must see come back as a CommandResult; nothing throws.
#pragma once

#include "generator/pacer.h"
#include "generator/rnd.h"
#include "output/drives.h"
#include "program/command.h"
#include "program/surfaces.h"
#include "state/clock.h"
#include "state/picture_record.h"
#include "state/window_state.h"

namespace mandalix {

struct Program {
    Program(const Clock& clock, Drives drives) : clock(clock), drives(std::move(drives)) { }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    WindowState state;
    Surfaces surfaces;
    Rnd rnd;
    const Clock& clock;
    Drives drives;
    // The waves of the strip on show.
    PaletteWaves strip;
    // The picture on show, as it was painted and recoloured since: painting it again
    // gives the same pixels. The help panel is not part of it.
    PictureRecord picture;
};

// The generation-type names, indices 1..4.
inline constexpr const char* kGenerationTypeNames[] = {
    "", "from left to right", "from centre ortogonal", "random point after point",
    "from order to chaos and back"};

// Blackens the window, sets the defaults, names the generation type, draws a palette
// and paints the first picture. The clock is read once: the strip's seed and the first
// picture's seed and name all come from that moment. False when the pacer stopped it.
bool StartUp(Program& program, Pacer& pacer);

// Runs one command to completion (or until the pacer stops it). Undo, redo and restoring
// a kept picture need a session's steps and history (undo/session.h); here they do
// nothing.
CommandResult runCommand(Program& program, const Command& command, Pacer& pacer);

} // namespace mandalix
