// The light grey behind the program's own texts: the caption box beside "generation
// type" and the help panel over the picture. A constant; safe on any thread.
#pragma once

#include "surface/colour.h"

namespace mandalix {

// RGB(200, 200, 200).
inline constexpr Colour kPanelGrey = 200 + 256 * 200 + 65536 * 200;

} // namespace mandalix
