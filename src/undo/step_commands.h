// What makes the picture on show a step that undo and redo move between, and the
// commands that move: undo, redo and restoring a kept picture. Each time the picture on
// show gives way to another picture, the one going is handed to the history as it last
// stood. Run by the thread that runs the commands, holding the surfaces' lock; a kept
// picture that cannot be read comes back as an error result, and nothing changes.
#pragma once

#include "undo/session.h"

namespace mandalix {

// Keeps what Picture1 and the strip show after `command` as the newest step, unless it
// is the step on show already (a press that recoloured nothing).
void recordStep(Session& session, const Command& command);

CommandResult undoStep(Session& session);
CommandResult redoStep(Session& session);

// Shows a kept picture: its pixels in Picture1, its strip painted from its waves, and
// its record and parameters as the picture on show, so "repeat  image" paints it again.
CommandResult restoreKept(Session& session, const QString& path);

// Hands the step on show to the history, as when the program ends. Requires that no
// command runs.
void keepShownPicture(Session& session);

} // namespace mandalix
