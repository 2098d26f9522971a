// The help panel that the "help" command paints over the picture in Picture1: a grey
// rectangle with fourteen lines of text. It stays until something paints over it.
// Runs on the thread that owns the surfaces (holding their lock); nothing fails.
#pragma once

#include "state/window_state.h"
#include "surface/surface.h"

#include <array>

namespace mandalix {

// The panel rectangle on Picture1, both corners included, and the left edge of its text.
inline constexpr int kHelpLeft = 20;
inline constexpr int kHelpTop = 20;
inline constexpr int kHelpRight = 430;
inline constexpr int kHelpBottom = 300;
inline constexpr int kHelpTextX = 30;

struct HelpLine {
    int y;            // top of the text line on Picture1
    const char* text; // ASCII, printed as it stands
};

// The panel's lines, top to bottom, 15 or more pixels apart.
extern const std::array<HelpLine, 14> kHelpLines;

// Paints the panel rectangle in panel grey, one column at a time with the window-state
// counter `i` (431 afterwards), then prints the lines at x = 30. Pixels outside the
// rectangle and the text are left as they were.
void ShowHelp(WindowState& s, Surface& picture1);

} // namespace mandalix
