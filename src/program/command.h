// The user's commands as values: every button click and every press on a surface
// becomes one, queued and run in order by the worker; a press carries its position.
// "exit" is not a command: the window ends the program at once, without running what is
// queued. A result says what the window must show once its command is done.
#pragma once

#include "state/picture_record.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <type_traits>
#include <variant>

namespace mandalix {

namespace cmd {

struct StartUp { static constexpr bool kIsStep = true; };
struct NewImageOldPalette { static constexpr bool kIsStep = true; }; // Command1
struct SaveOnDiskD { };                                              // Command3
struct ChangePalette { static constexpr bool kIsStep = true; };      // Command4
struct RepeatImage { static constexpr bool kIsStep = true; };        // Command5
struct NewImageNewPalette { static constexpr bool kIsStep = true; }; // Command6
struct GenerationType { };                                           // Command7
struct Help { static constexpr bool kIsStep = true; };               // Command8
struct SaveOnDiskC { };                                              // Command11

// Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y: back and forth between the steps kept.
struct Undo { };
struct Redo { };
// A click on a kept picture of the history: shows it as it was kept.
struct RestoreKept {
    static constexpr bool kIsStep = true;
    QString path;
};

// A press, at its pointer position in pixels of the pressed surface's drawing area.
struct PickColour { // on Picture3
    int x = 0;
    int y = 0;
};
struct ReplaceColour { // on Picture1
    static constexpr bool kIsStep = true;
    int x = 0;
    int y = 0;
};

// A picture read from a file the user opened: its record and, for a picture of the
// window's size, its pixels as saved (null otherwise: it is painted from the record).
struct Open {
    static constexpr bool kIsStep = true;
    QString path;
    PictureRecord record;
    QImage pixels;
};

// Paints a picture from its record, as the picture on show: the slide show's last.
struct ShowRecord {
    static constexpr bool kIsStep = true;
    PictureRecord record;
};

// A made picture (a variation or a bred child) taken as the picture on show: named after
// the moment it is taken, painted in the window's generation type.
struct Adopt {
    static constexpr bool kIsStep = true;
    PictureRecord record;
};

// A kept palette made the strip's. With `repaint`, the picture on show is painted again
// with it: the same name and parameters, the new palette, no recolourings. Without, only
// the strip changes, for the pictures that follow.
struct UsePalette {
    static constexpr bool kIsStep = true;
    PaletteWaves waves;
    bool repaint = false;
};

} // namespace cmd

using Command = std::variant<cmd::StartUp, cmd::NewImageOldPalette, cmd::SaveOnDiskD,
                             cmd::ChangePalette, cmd::RepeatImage, cmd::NewImageNewPalette,
                             cmd::GenerationType, cmd::Help, cmd::SaveOnDiskC, cmd::PickColour,
                             cmd::ReplaceColour, cmd::Open, cmd::ShowRecord, cmd::Undo,
                             cmd::Redo, cmd::RestoreKept, cmd::Adopt, cmd::UsePalette>;

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

// True for the commands that paint a new picture over Picture1 (an opened picture too):
// each is one step of the picture's history.
inline bool paintsAPicture(const Command& command)
{
    return std::holds_alternative<cmd::StartUp>(command)
        || std::holds_alternative<cmd::Open>(command)
        || std::holds_alternative<cmd::NewImageOldPalette>(command)
        || std::holds_alternative<cmd::NewImageNewPalette>(command)
        || std::holds_alternative<cmd::RepeatImage>(command)
        || std::holds_alternative<cmd::ShowRecord>(command)
        || std::holds_alternative<cmd::Adopt>(command)
        || (std::holds_alternative<cmd::UsePalette>(command) && std::get<cmd::UsePalette>(command).repaint);
}

// True for the commands marked as steps: those that may change Picture1 or Picture3.
inline bool isStep(const Command& command)
{
    return std::visit(
        [](const auto& c) {
            if constexpr (requires { std::decay_t<decltype(c)>::kIsStep; })
                return std::decay_t<decltype(c)>::kIsStep;
            else
                return false;
        },
        command);
}

struct CommandResult {
    // Nothing to show, a line of news for the status line, or an error for a message.
    enum class Kind { None, Info, Error };
    Kind kind = Kind::None;
    QString text;
    // How often Picture1 had changed when the command ended. News about the picture (a
    // save) stands only while Picture1 still shows what the command saw.
    std::uint64_t picture1Changes = 0;
    // True when the pacer stopped the command before its end: the program is ending.
    bool isStopped = false;
};

} // namespace mandalix

#include <QMetaType>
Q_DECLARE_METATYPE(mandalix::Command)
Q_DECLARE_METATYPE(mandalix::CommandResult)
