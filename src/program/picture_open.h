// Showing a picture read from a file: the worker runs it as the user's Open command, in
// order with the other commands, holding the surfaces' lock. The file was read and
// checked before the command was made, so nothing here fails.
#pragma once

#include "generator/pacer.h"
#include "program/command.h"
#include "program/program.h"

namespace mandalix {

// Makes the opened picture the one on show: its strip painted from its waves, its
// generation type, parameters and name set in the state (so "repeat  image" repaints
// it), then Picture1 either takes the saved pixels as they are, or, without them, is
// painted from the record at the window's size through the replay path. Returns the
// line the status line shows.
CommandResult openPicture(Program& program, const cmd::Open& open, Pacer& pacer);

} // namespace mandalix
