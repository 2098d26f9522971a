// The user's commands as values: every button click and every press on a surface
// becomes one, queued and run in order by the worker. "exit" is not a command: the
// window ends the program at once, without running what is queued.
#pragma once

#include <QString>

namespace mandalix {

enum class CommandKind {
    StartUp,
    NewImageOldPalette, // Command1
    SaveOnDiskD,        // Command3
    ChangePalette,      // Command4
    RepeatImage,        // Command5
    NewImageNewPalette, // Command6
    GenerationType,     // Command7
    Help,               // Command8
    SaveOnDiskC,        // Command11
    PickColour,         // press on Picture3 at (x, y)
    ReplaceColour,      // press on Picture1 at (x, y)
};

struct Command {
    CommandKind kind = CommandKind::StartUp;
    // The pointer position of a press, in pixels of the pressed surface's drawing area.
    int x = 0;
    int y = 0;
};

// What the window shows once a command is done: nothing, a line of news, or an error.
struct CommandResult {
    enum class Kind { None, Info, Error };
    Kind kind = Kind::None;
    QString text;
};

} // namespace mandalix

#include <QMetaType>
Q_DECLARE_METATYPE(mandalix::Command)
Q_DECLARE_METATYPE(mandalix::CommandResult)
