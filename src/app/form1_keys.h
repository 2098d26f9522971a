// Every key of the program, once: one row per button of the layout table (by its name),
// the keys of the window's commands that have no button, and the slide show's keys, each
// with what it does. Form1 and the slide show's window make their keys from these tables
// and the keys sheet lists them, so a key cannot work without being listed. Constants
// only, read on the GUI thread.
#pragma once

#include <array>

namespace mandalix {

struct KeyRow {
    const char* name; // the button's name in the layout table
    const char* key;  // as QKeySequence reads it; empty for a button that does nothing
    const char* tip;  // what the button does
};

// A key works anywhere in the window and does what a click on its button does; captions
// carry no accelerator.
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

// A key and what it does, for the window's commands without a button and for the slide
// show's actions alike.
template <typename Action> struct ActionKeyRow {
    Action action;
    const char* key;  // as QKeySequence reads it
    const char* does;
};

// The window's commands that have no button.
enum class WindowKey {
    SaveAs, Open, CancelSave, Undo, Redo, SlideShow, Variations, Editor, KeepPalette, CycleColours, Wallpaper, ExportAnimation,
    KeysSheet
};
using WindowKeyRow = ActionKeyRow<WindowKey>;

inline constexpr std::array<WindowKeyRow, 15> kWindowKeys{{
    {WindowKey::SaveAs, "Ctrl+S", "Save the picture as a PNG, at any size"},
    {WindowKey::Open, "Ctrl+O", "Open a PNG saved by mandalix"},
    {WindowKey::CancelSave, "Esc", "Cancel a Save as or an animation's export that is painting or writing"},
    {WindowKey::Undo, "Ctrl+Z", "Undo the last change to the picture or the palette"},
    {WindowKey::Redo, "Ctrl+Shift+Z", "Redo what was undone"},
    {WindowKey::Redo, "Ctrl+Y", "Redo what was undone"},
    {WindowKey::SlideShow, "F11", "Open the slide show"},
    {WindowKey::Variations, "V", "Open the variations of the picture on show"},
    {WindowKey::Editor, "E", "Edit the numbers of the picture on show"},
    {WindowKey::KeepPalette, "K", "Keep the palette of the picture on show among the favourites"},
    {WindowKey::CycleColours, "Y", "Cycle the picture's colours through its rings; any key stops it"},
    {WindowKey::Wallpaper, "W", "Set the picture on show, at the screen's size, as the desktop's wallpaper"},
    {WindowKey::ExportAnimation, "A", "Export an animation: the painting, colour cycling or a morph loop"},
    {WindowKey::KeysSheet, "?", "Show this list of keys"},
    {WindowKey::KeysSheet, "Shift+F1", "Show this list of keys"},
}};

// What a key of the slide show does. Shift is ignored, as the slide show always did.
enum class SlideKey { Pause, Next, Previous, Save, Wallpaper, CycleColours, Leave, Exit };
using SlideKeyRow = ActionKeyRow<SlideKey>;

inline constexpr std::array<SlideKeyRow, 9> kSlideShowKeys{{
    {SlideKey::Pause, "Space", "Pause, and go on (also in the middle of a picture)"},
    {SlideKey::Next, "Right", "Show the next picture now"},
    {SlideKey::Previous, "Left", "Go back through the pictures of this slide show"},
    {SlideKey::Save, "S", "Save the picture on show at the screen's size on disk D: as a PNG"},
    {SlideKey::Wallpaper, "W", "Set the picture on show as the desktop's wallpaper"},
    {SlideKey::CycleColours, "Y", "Cycle the colours of the painted picture on show; any key or the next picture stops it"},
    {SlideKey::Leave, "Esc", "Leave the slide show; the window shows its last picture"},
    {SlideKey::Leave, "F11", "Leave the slide show; the window shows its last picture"},
    {SlideKey::Exit, "Ctrl+Q", "Exit at once, as \"exit\" does"},
}};

// What a key of the variations view does.
enum class VariationKey { NewDirections, Back, Adopt, Weaker, Stronger, Close };
using VariationKeyRow = ActionKeyRow<VariationKey>;

inline constexpr std::array<VariationKeyRow, 7> kVariationKeys{{
    {VariationKey::NewDirections, "Space", "New children of the same parent"},
    {VariationKey::Back, "Backspace", "Back to the generation before"},
    {VariationKey::Adopt, "Return", "Paint the selected cell in the window (Ctrl+Z there undoes it)"},
    {VariationKey::Adopt, "Enter", "Paint the selected cell in the window (Ctrl+Z there undoes it)"},
    {VariationKey::Weaker, "[", "Halve the strength of the changes"},
    {VariationKey::Stronger, "]", "Double the strength of the changes"},
    {VariationKey::Close, "Esc", "Close the variations"},
}};

// What a key of the editor does.
enum class EditorKey { ZoomIn, ZoomOut, Apply, Cancel };
using EditorKeyRow = ActionKeyRow<EditorKey>;

inline constexpr std::array<EditorKeyRow, 5> kEditorKeys{{
    {EditorKey::ZoomIn, "+", "Zoom in about the centre (also the wheel over the picture)"},
    {EditorKey::ZoomIn, "=", "Zoom in about the centre (also the wheel over the picture)"},
    {EditorKey::ZoomOut, "-", "Zoom out about the centre"},
    {EditorKey::Apply, "Ctrl+Return", "Paint the edited picture in the window (Ctrl+Z there undoes it)"},
    {EditorKey::Cancel, "Esc", "Close the editor, leaving everything as it was"},
}};

} // namespace mandalix
