// The window's controls as the tests expect them: written out by hand from the program's
// layout, not read from the layout table in src/app, so a wrong row there shows up as a
// failed test. Shared by the widget tests and the real-window tests. Plain data.
#pragma once

#include <array>
#include <string_view>

namespace mandalix::expected {

struct Control {
    const char* name;
    const char* caption; // nullptr: a surface, or the credit line whose wording is free
    int x;
    int y;
    int w;
    int h;
    int tab;
    bool isButton;
    bool isShown;
};

inline constexpr std::array<Control, 14> kControls{{
    {"Command10", "TIME  DEPENDING  NEVER  REPEATABLE  MANDALA", 176, 48, 297, 25, 12, true, true},
    {"Picture1", nullptr, 96, 96, 457, 457, 2, false, true},
    {"Picture2", nullptr, 104, 104, 457, 457, 6, false, false},
    {"Command7", "generation type", 568, 96, 121, 17, 9, true, true},
    {"Command6", "new img / new palette", 568, 120, 121, 17, 8, true, true},
    {"Command1", "new img / old palette", 568, 144, 121, 17, 0, true, true},
    {"Command5", "repeat  image", 568, 168, 121, 17, 7, true, true},
    {"Command4", "change palette", 568, 192, 121, 17, 5, true, true},
    {"Command3", "save on disk D:", 568, 216, 121, 17, 3, true, true},
    {"Command11", "save on disk C:", 696, 216, 97, 17, 13, true, true},
    {"Command8", "help", 568, 240, 57, 17, 10, true, true},
    {"Command2", "exit", 632, 240, 57, 17, 1, true, true},
    {"Picture3", nullptr, 8, 568, 545, 25, 4, false, true},
    {"Command9", nullptr, 8, 616, 545, 25, 11, true, true},
}};

// The drawing areas inside the 2-pixel borders of the picture and of the palette strip.
inline constexpr int kBorderPx = 2;
inline constexpr int kPictureAreaPx = 453;
inline constexpr int kStripAreaW = 541;
inline constexpr int kStripAreaH = 21;

// Window areas that other parts of the program paint on, besides the controls: the
// caption box right of "generation type" (columns 690..850, rows 97..112) and the line
// that tells where the last save went.
inline constexpr int kCaptionBoxX = 690;
inline constexpr int kCaptionBoxY = 97;
inline constexpr int kCaptionBoxW = 161;
inline constexpr int kCaptionBoxH = 16;
inline constexpr int kStatusX = 568;
inline constexpr int kStatusY = 264;
inline constexpr int kStatusW = 283;
inline constexpr int kStatusH = 48;
// The "variations" button, in the free black area below the status line and the red mark
// of pictures not kept (columns 568..688, rows 376..392).
inline constexpr int kVariationsX = 568;
inline constexpr int kVariationsY = 376;
inline constexpr int kVariationsW = 121;
inline constexpr int kVariationsH = 17;
// The "edit" button two rows below it (rows 424..440).
inline constexpr int kEditorY = 424;
inline constexpr int kFavouritesX = 568;
inline constexpr int kFavouritesY = 400;
inline constexpr int kFavouritesW = 121;
inline constexpr int kFavouritesH = 17;

// The row of a control, or nullptr for an unknown name.
inline const Control* control(std::string_view name)
{
    for (const Control& c : kControls)
        if (c.name == name)
            return &c;
    return nullptr;
}

} // namespace mandalix::expected
