// The user's commands as values: every button click and every press on a surface
// becomes one, queued and run in order by the worker; a press carries its position.
// "exit" is not a command: the window ends the program at once, without running what is
// queued. A result says what the window must show once its command is done.
#pragma once

#include "state/picture_record.h"

#include <QString>

#include <cstdint>
#include <variant>

namespace mandalix {

namespace cmd {

struct StartUp { };
struct NewImageOldPalette { }; // Command1
struct SaveOnDiskD { };        // Command3
struct ChangePalette { };      // Command4
struct RepeatImage { };        // Command5
struct NewImageNewPalette { }; // Command6
struct GenerationType { };     // Command7
struct Help { };               // Command8
struct SaveOnDiskC { };        // Command11

// A press, at its pointer position in pixels of the pressed surface's drawing area.
struct PickColour { // on Picture3
    int x = 0;
    int y = 0;
};
struct ReplaceColour { // on Picture1
    int x = 0;
    int y = 0;
};

// Paints a picture from its record, as the picture on show: the slide show's last.
struct ShowRecord {
    PictureRecord record;
};

} // namespace cmd

using Command = std::variant<cmd::StartUp, cmd::NewImageOldPalette, cmd::SaveOnDiskD,
                             cmd::ChangePalette, cmd::RepeatImage, cmd::NewImageNewPalette,
                             cmd::GenerationType, cmd::Help, cmd::SaveOnDiskC, cmd::PickColour,
                             cmd::ReplaceColour, cmd::ShowRecord>;

// The command with the pointer position of a press, for the commands that take one;
// any other command comes back as it was.
inline Command atPosition(Command command, int x, int y)
{
    std::visit(
        [&](auto& c) {
            if constexpr (requires { c.x; c.y; }) {
                c.x = x;
                c.y = y;
            }
        },
        command);
    return command;
}

// True for the commands that paint a new picture over Picture1.
inline bool paintsAPicture(const Command& command)
{
    return std::holds_alternative<cmd::StartUp>(command)
        || std::holds_alternative<cmd::NewImageOldPalette>(command)
        || std::holds_alternative<cmd::NewImageNewPalette>(command)
        || std::holds_alternative<cmd::RepeatImage>(command)
        || std::holds_alternative<cmd::ShowRecord>(command);
}

struct CommandResult {
    // Nothing to show, a line of news for the status line, or an error for a message.
    enum class Kind { None, Info, Error };
    Kind kind = Kind::None;
    QString text;
    // How often Picture1 had changed when the command ended. News about the picture (a
    // save) stands only while Picture1 still shows what the command saw.
    std::uint64_t picture1Changes = 0;
};

} // namespace mandalix

#include <QMetaType>
Q_DECLARE_METATYPE(mandalix::Command)
Q_DECLARE_METATYPE(mandalix::CommandResult)
