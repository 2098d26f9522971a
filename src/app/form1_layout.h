// The window's controls: every position, size, caption and tab index, once. Form1 turns
// these rows into widgets. Positions are outer rectangles in window pixels.
#pragma once

#include "program/command.h"

#include <array>
#include <utility>

namespace mandalix {

enum class ControlKind { Button, Surface, HiddenSurface };

// What a click on a button (or a press on a surface) does.
enum class ClickAction { Nothing, Exit, Run };

struct ControlRow {
    const char* name;
    const char* caption; // empty for surfaces
    int x;
    int y;
    int w;
    int h;
    int tab;
    ControlKind kind;
    ClickAction action;
    Command command; // for ClickAction::Run; a press fills in its position
};

inline constexpr const char* kCreditLine =
    "mandalix - mandala pictures painted from the distance and angle of every pixel";

// Not constexpr: a command may carry a picture read from a file.
inline const std::array<ControlRow, 14> kControls{{
    {"Command10", "TIME  DEPENDING  NEVER  REPEATABLE  MANDALA", 176, 48, 297, 25, 12,
     ControlKind::Button, ClickAction::Nothing, cmd::StartUp{}},
    {"Picture1", "", 96, 96, 457, 457, 2, ControlKind::Surface, ClickAction::Run,
     cmd::ReplaceColour{}},
    {"Picture2", "", 104, 104, 457, 457, 6, ControlKind::HiddenSurface, ClickAction::Nothing,
     cmd::StartUp{}},
    {"Command7", "generation type", 568, 96, 121, 17, 9, ControlKind::Button, ClickAction::Run,
     cmd::GenerationType{}},
    {"Command6", "new img / new palette", 568, 120, 121, 17, 8, ControlKind::Button,
     ClickAction::Run, cmd::NewImageNewPalette{}},
    {"Command1", "new img / old palette", 568, 144, 121, 17, 0, ControlKind::Button,
     ClickAction::Run, cmd::NewImageOldPalette{}},
    {"Command5", "repeat  image", 568, 168, 121, 17, 7, ControlKind::Button, ClickAction::Run,
     cmd::RepeatImage{}},
    {"Command4", "change palette", 568, 192, 121, 17, 5, ControlKind::Button, ClickAction::Run,
     cmd::ChangePalette{}},
    {"Command3", "save on disk D:", 568, 216, 121, 17, 3, ControlKind::Button, ClickAction::Run,
     cmd::SaveOnDiskD{}},
    {"Command11", "save on disk C:", 696, 216, 97, 17, 13, ControlKind::Button,
     ClickAction::Run, cmd::SaveOnDiskC{}},
    {"Command8", "help", 568, 240, 57, 17, 10, ControlKind::Button, ClickAction::Run,
     cmd::Help{}},
    {"Command2", "exit", 632, 240, 57, 17, 1, ControlKind::Button, ClickAction::Exit,
     cmd::StartUp{}},
    {"Picture3", "", 8, 568, 545, 25, 4, ControlKind::Surface, ClickAction::Run,
     cmd::PickColour{}},
    {"Command9", kCreditLine, 8, 616, 545, 25, 11, ControlKind::Button, ClickAction::Nothing,
     cmd::StartUp{}},
}};

// What screen readers call the drawing surfaces (buttons go by their captions).
inline constexpr std::array<std::pair<const char*, const char*>, 3> kSurfaceAccessibleNames{{
    {"Picture1", "Picture"},
    {"Picture2", "Hidden picture"},
    {"Picture3", "Palette strip: press a colour, then the picture, to recolour"},
}};

// The line that tells where the last save went: right of the picture, below the buttons.
inline constexpr int kStatusX = 568;
inline constexpr int kStatusY = 264;
inline constexpr int kStatusW = 283;
inline constexpr int kStatusH = 48;
// The lasting mark while pictures are not being kept: below the status line, in red.
inline constexpr int kNotKeptY = kStatusY + kStatusH + 8;

// The button that opens the variations, in the free black area below the lasting mark.
inline constexpr int kVariationsX = kStatusX;
inline constexpr int kVariationsY = kNotKeptY + kStatusH + 8;
inline constexpr int kVariationsW = 121;
inline constexpr int kVariationsH = 17;
// The editor's button, two rows below (the row between is the favourite palettes').
inline constexpr int kEditorY = kVariationsY + 48;

// The button that opens the favourite palettes, below "variations".
inline constexpr int kFavouritesX = kVariationsX;
inline constexpr int kFavouritesY = kVariationsY + 24;
inline constexpr int kFavouritesW = 121;
inline constexpr int kFavouritesH = 17;

// The restored size of the window; it opens maximized.
inline constexpr int kRestoredWidth = 312;
inline constexpr int kRestoredHeight = 213;

} // namespace mandalix
