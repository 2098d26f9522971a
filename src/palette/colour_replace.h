// Recolouring a finished picture with two presses: one on the palette strip picks a
// colour, one on the picture replaces every pixel of the colour under the pointer with
// it, anywhere in the picture. Runs on the thread that owns the surfaces (holding their
// lock). Nothing fails: a press outside a drawing area reads no colour and changes nothing.
#pragma once

#include "state/window_state.h"
#include "surface/surface.h"

#include <QList>
#include <QRgb>

#include <optional>
#include <utility>
#include <vector>

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

// A list of recolourings made one after another, as one map from each colour to the
// colour it ends as: a colour follows the list in order, taking the `to` of every
// recolouring whose `from` it has at that point. Built in time about linear in the list,
// so a long list costs one pass over a picture, not one pass per recolouring. A value.
class ColourMap {
public:
    explicit ColourMap(const std::vector<ColourReplacement>& replacements);

    // No colour changes.
    bool isIdentity() const { return m_changes.empty(); }
    Colour operator()(Colour colour) const
    {
        // A press makes one recolouring: a few compares beat any search, pixel by pixel.
        if (m_changes.size() <= kFewChanges) {
            for (const auto& [from, to] : m_changes)
                if (from == colour)
                    return to;
            return colour;
        }
        return lookUp(colour);
    }
    // The colours that change, each with the colour it ends as, by the first colour.
    const std::vector<std::pair<Colour, Colour>>& changes() const { return m_changes; }
    // The same on Qt's pixels; the alpha of `argb` is kept.
    QRgb argb(QRgb argb) const;
    // Every entry of a colour table mapped, the first `count` entries (all when -1).
    void mapTable(QList<QRgb>& table, qsizetype count = -1) const;

private:
    static constexpr std::size_t kFewChanges = 4;
    Colour lookUp(Colour colour) const;

    std::vector<std::pair<Colour, Colour>> m_changes; // sorted by the first colour
};

// The scan of ReplaceColour for recolourings known beforehand, as when a recorded picture
// is painted again: one scan with the list's ColourMap, which leaves every pixel and the
// counters as the recolourings made one after another would. An empty list scans nothing.
void replaceColours(WindowState& s, Surface& picture1, const std::vector<ColourReplacement>& replacements);

} // namespace mandalix
