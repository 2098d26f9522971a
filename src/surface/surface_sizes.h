// The sizes of the program's drawing surfaces, in pixels, and the colour of a fresh
// picture box. Constants every layer may use; safe on any thread.
#pragma once

#include "surface/colour.h"

namespace mandalix {

// Drawing areas: the picture and its hidden copy inside 2-pixel borders of 457 x 457
// controls, the palette strip inside a 545 x 25 control.
inline constexpr int kPictureSizePx = 453;
inline constexpr int kStripWidthPx = 541;
inline constexpr int kStripHeightPx = 21;
// The part of the window the program draws on (the layout needs 851 x 641).
inline constexpr int kFormWidthPx = 856;
inline constexpr int kFormHeightPx = 648;
// The back colour of a fresh picture box.
inline constexpr Colour kPictureBackColour = 0xF0F0F0;

} // namespace mandalix
