// The program as the window runs it: the program itself, the steps that undo and redo move
// between, and the keeper of each picture once another replaces it on show. One thread
// runs it at a time (the command worker, or a test), as it does the program. Failures the
// user must see come back as a CommandResult.
#pragma once

#include "base/result.h"
#include "program/program.h"
#include "undo/undo_stack.h"

#include <QImage>

namespace mandalix {

// A picture kept on disk, read back.
struct KeptPicture {
    PictureRecord record;
    QImage pixels;    // Format_RGB32, the size of Picture1
    QDateTime keptAt; // when it was kept
};

// Where pictures go once they give way on show: the history implements it.
class PictureKeeper {
public:
    virtual ~PictureKeeper() = default;
    // Keeps the picture of `record`, `png` its PNG carrying the record as a step holds it
    // (encodePicturePng); returns at once. The thread that runs the commands.
    virtual void keep(const PictureRecord& record, const QByteArray& png) = 0;
    // A picture kept before, read back from `path`; the failure's message is for the user.
    virtual Result<KeptPicture> readKept(const QString& path) const = 0;
};

struct Session : Program {
    using Program::Program;

    // What the picture and the strip showed after each command that changed them.
    UndoStack steps;
    // Where each picture is kept once another replaces it; none keeps nothing.
    PictureKeeper* history = nullptr;
};

// Runs one command as runCommand does on the program, and undo, redo and restoring a kept
// picture on the session. A command marked as a step that ran to completion leaves what
// it shows as the newest step.
CommandResult runCommand(Session& session, const Command& command, Pacer& pacer);

} // namespace mandalix
