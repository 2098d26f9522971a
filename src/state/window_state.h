// The window state: the named variables through which every operation of the program
// shares its data, alive from start-up to exit. Operations work on it in place. It is
// owned by whoever runs the commands (the worker thread); a renderer that paints with
// several threads gives each thread its own copy. A plain value: nothing here fails.
#pragma once

#include "state/picture_record.h"
#include "surface/colour.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace mandalix {

inline constexpr int kVisitedSize = 551;

// The values start-up gives the image size, the coordinate window, the repeat flag and
// the generation type; a fresh window state starts with them too.
inline constexpr double kStartSir = 458;
inline constexpr double kStartVis = 458;
inline constexpr double kStartPolx = kStartView;
inline constexpr double kStartPoly = kStartView;
inline constexpr double kStartPonovi = 0;
inline constexpr double kStartNac = 4;

// The visit table of the random generation types: 551 x 551 flags, cell (i, j) for
// column i and row j. Its marks are the scratch of the pass that made them, and every
// pass clears its cells first, so a copy of the state starts with a clear table of its
// own (made when first used) and two states compare equal whatever their marks.
class VisitTable {
public:
    VisitTable() = default;
    VisitTable(const VisitTable&) { }
    VisitTable& operator=(const VisitTable&) { return *this; }
    VisitTable(VisitTable&&) = default;
    VisitTable& operator=(VisitTable&&) = default;

    std::int16_t& at(int column, int row)
    {
        if (m_cells.empty())
            m_cells.assign(static_cast<std::size_t>(kVisitedSize) * kVisitedSize, 0);
        return m_cells[static_cast<std::size_t>(column) * kVisitedSize + row];
    }

    // Sets every cell, inside the grid of a pass or not.
    void fill(std::int16_t value)
    {
        m_cells.assign(static_cast<std::size_t>(kVisitedSize) * kVisitedSize, value);
    }

    bool operator==(const VisitTable&) const { return true; }

private:
    std::vector<std::int16_t> m_cells;
};

struct WindowState : PictureParameters {
    // Image size and the half-extent of the coordinate window, set at start-up.
    double sir = kStartSir;
    double vis = kStartVis;
    double polx = kStartPolx;
    double poly = kStartPoly;

    // User state: the repeat flag, the generation type (1..4), the picked colour.
    double ponovi = kStartPonovi;
    double nac = kStartNac;
    Colour color = kBlack; // nothing picked yet counts as black

    // The current position: column and row, centred coordinates, polar coordinates.
    double i = 0;
    double j = 0;
    double x = 0;
    double y = 0;
    double r = 0;
    double fi = 0;

    // Per-pixel results; re, gr, bl are also the working channels of the palette strip.
    double re = 0;
    double gr = 0;
    double bl = 0;
    double ba = 0;
    double pozic = 0;
    Colour barva = 0;

    // The current picture's file name stem, "T" and fourteen digits of date and time.
    QString imeslike;

    // Names of the generation types, indices 1..4 filled at start-up.
    std::array<QString, 11> imenac;

    VisitTable visited;

    std::int16_t& visitedAt(int column, int row) { return visited.at(column, row); }

    bool operator==(const WindowState&) const = default;
};

// Start-up's defaults, in the order it sets them: sir, vis, polx, poly, ponovi, then
// the generation type `nac` (4 at start-up; the renderer may ask for another).
inline void setStartUpDefaults(WindowState& s, double nac = kStartNac)
{
    s.sir = kStartSir;
    s.vis = kStartVis;
    s.polx = kStartPolx;
    s.poly = kStartPoly;
    s.ponovi = kStartPonovi;
    s.nac = nac;
}

// The picture parameters of a window state, and setting them whole.
inline PictureParameters parametersOf(const WindowState& s) { return s; }
inline void setParameters(WindowState& s, const PictureParameters& parameters)
{
    static_cast<PictureParameters&>(s) = parameters;
}

} // namespace mandalix
