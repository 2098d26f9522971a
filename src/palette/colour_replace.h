// Recolouring a finished picture with two presses: one on the palette strip picks a
// colour, one on the picture replaces every pixel of the colour under the pointer with
// it, anywhere in the picture. Runs on the thread that owns the surfaces (holding their
// lock). Nothing fails: a press outside a drawing area reads no colour and changes nothing.
#pragma once

#include "state/window_state.h"
#include "surface/surface.h"

#include <optional>

namespace mandalix {

// Sets `color` to the strip's colour at (x, y). A press on the strip's border, outside
// its drawing area, reads no colour and keeps the colour picked before.
void PickColour(WindowState& s, const Surface& picture3, int x, int y);

// Reads the colour at (x, y) once, then scans `i` = 0..`sir` (outer) and `j` = 0..`vis`
// (inner) and sets every pixel of exactly that colour to `color`; the counters end one
// past their bounds. Positions outside the drawing area read as no colour, so a press
// there, and the scan's positions there, change nothing. Returns the recolouring made,
// or nothing for a press that could change no pixel (outside the drawing area, or on a
// pixel that already has the picked colour).
std::optional<ColourReplacement> ReplaceColour(WindowState& s, Surface& picture1, int x, int y);

// The scan of ReplaceColour for a recolouring known beforehand, as when a recorded
// picture is painted again.
void replaceColour(WindowState& s, Surface& picture1, const ColourReplacement& replacement);

} // namespace mandalix
