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

struct WindowState : PictureParameters {
    // Image size and the half-extent of the coordinate window, set at start-up.
    double sir = 458;
    double vis = 458;
    double polx = 3;
    double poly = 3;

    // User state: the repeat flag, the generation type (1..4), the picked colour.
    double ponovi = 0;
    double nac = 4;
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

    // Visit table of the random generation types: cell (i, j) at i * kVisitedSize + j.
    std::vector<std::int16_t> visited =
        std::vector<std::int16_t>(static_cast<std::size_t>(kVisitedSize) * kVisitedSize, 0);

    std::int16_t& visitedAt(int column, int row)
    {
        return visited[static_cast<std::size_t>(column) * kVisitedSize + row];
    }
};

// The picture parameters of a window state, and setting them whole.
inline PictureParameters parametersOf(const WindowState& s) { return s; }
inline void setParameters(WindowState& s, const PictureParameters& parameters)
{
    static_cast<PictureParameters&>(s) = parameters;
}

} // namespace mandalix
