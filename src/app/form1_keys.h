// The window's keys and tooltips: one row per button of the layout table (by its name),
// and the keys of the commands that have no button. A key works anywhere in the window
// and does what a click on its button does; captions carry no accelerator. Undo and redo
// take Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y.
#pragma once

#include <array>

namespace mandalix {

struct KeyRow {
    const char* name; // the button's name in the layout table
    const char* key;  // as QKeySequence reads it; empty for a button that does nothing
    const char* tip;  // what the button does
};

inline constexpr std::array<KeyRow, 11> kButtonKeys{{
    {"Command10", "", "Every picture depends on the moment it is painted"},
    {"Command7", "G", "Next generation type"},
    {"Command6", "Ctrl+N", "New picture with a new palette"},
    {"Command1", "N", "New picture with the same palette"},
    {"Command5", "R", "Paint a picture with the same parameters again"},
    {"Command4", "P", "Change the palette"},
    {"Command3", "D", "Save the picture as a bitmap on disk D:"},
    {"Command11", "C", "Save the picture as a bitmap on disk C:"},
    {"Command8", "F1", "Show the help"},
    {"Command2", "Ctrl+Q", "Exit at once"},
    {"Command9", "", "How the pictures are made"},
}};

// Keys of the commands without a button.
inline constexpr char kSaveAsKey[] = "Ctrl+S";
inline constexpr char kOpenKey[] = "Ctrl+O";
inline constexpr char kCancelKey[] = "Esc";

} // namespace mandalix
