// The caption box beside the "generation type" button, naming the current generation
// type on the window. Called by start-up and by the "generation type" command, on the
// thread that owns the surfaces (holding their lock). Nothing fails: an unknown
// generation type prints an empty caption.
#pragma once

#include "state/window_state.h"
#include "surface/surface.h"

#include <QString>

namespace mandalix {

// The caption box on the window: columns 690..850, rows 97..112; text at (700, 98).
inline constexpr int kCaptionLeft = 690;
inline constexpr int kCaptionRight = 850;
inline constexpr int kCaptionTop = 97;
inline constexpr int kCaptionBottom = 112;
inline constexpr int kCaptionTextX = 700;
inline constexpr int kCaptionTextY = 98;

// imenac(nac), with nac rounded half to even; empty when that index is outside the table.
QString generationTypeName(const WindowState& s);

// Repaints the caption box in panel grey, one column at a time with the window-state
// counter `x` (851 afterwards), then prints the name of the generation type `nac` in it.
void ShowGenerationType(WindowState& s, Surface& form1);

} // namespace mandalix
