// The four orders in which a picture visits its positions (the generation types), and
// the mapping of a position to centred coordinates. Each traversal sets i, j, x, y of
// the window state and calls `visit()` once per position; what the visit returns is
// ignored, so a failing pixel never stops a picture. Runs on the thread that owns the
// state and surfaces; a traversal returns false only when its pacer asked it to stop.
#pragma once

#include "generator/pacer.h"
#include "generator/rnd.h"
#include "state/window_state.h"
#include "surface/colour.h"
#include "surface/surface.h"

namespace mandalix {

// Centred coordinates: columns 0..sir map onto -polx..+polx, rows 0..vis onto
// +poly..-poly. Kept in this exact form (no reciprocal) so every pixel gets the same
// bits on every machine.
inline double columnToX(const WindowState& s, double i) { return (i - s.sir / 2) / (s.sir / (2 * s.polx)); }
inline double rowToY(const WindowState& s, double j) { return (s.vis / 2 - j) / (s.vis / (2 * s.poly)); }

// The generation type that paints for `nac`: nac rounded half to even when that is
// 1..4, else 1.
int generationType(double nac);

// Positions of one pass, for the pacer.
long long leftToRightPositions(double sir, double vis);
long long fromCentrePositions(double sir, double vis);

// The grid of a random pass: positions are drawn from columns 0..columns-1 and rows
// 0..rows-1, `positions` = Int(sir * vis) of them. Empty (isUsable() false) when sir or
// vis is not in (0, 551], the size of the visit table.
struct RandomGrid {
    int columns = 0;
    int rows = 0;
    long long positions = 0;
    bool isUsable() const { return columns > 0 && rows > 0; }
};
RandomGrid randomGrid(double sir, double vis);

// Sets the visit table's cells of the grid's columns and rows to 0, nothing else.
void clearVisited(WindowState& s, const RandomGrid& grid);

// Counts the positions of one pass and tells the pacer every kBatchPixels of them.
class PassProgress {
public:
    PassProgress(Pacer& pacer, long long positions) : m_pacer(pacer) { pacer.beginPass(positions); }
    // One more position is painted. False when the pacer asks to stop.
    bool step() { return ++m_done % kBatchPixels != 0 || m_pacer.checkpoint(m_done); }
    // The pass is over: reports the positions since the last checkpoint.
    bool finish() { return m_done % kBatchPixels == 0 || m_pacer.checkpoint(m_done); }

private:
    Pacer& m_pacer;
    long long m_done = 0;
};

namespace detail {

template <typename Visit>
inline void visitAt(WindowState& s, double i, double j, Visit& visit)
{
    s.i = i;
    s.j = j;
    s.x = columnToX(s, i);
    s.y = rowToY(s, j);
    visit();
}

// Draws column then row until the visit table shows an unpainted cell, marks it and
// leaves it in i, j. sir and vis are those the grid was made from, and the grid's
// cells must have been cleared for this pass.
inline void pickUnvisited(WindowState& s, Rnd& rnd, double sir, double vis)
{
    for (;;) {
        const double i = Int(sir * rnd.next());
        const double j = Int(vis * rnd.next());
        std::int16_t& cell = s.visitedAt(static_cast<int>(i), static_cast<int>(j));
        if (cell == 1)
            continue;
        cell = 1;
        s.i = i;
        s.j = j;
        return;
    }
}

} // namespace detail

// Type 1: columns 0..sir, each from row 0 to row vis, both bounds included.
template <typename Visit>
bool paintLeftToRight(WindowState& s, Pacer& pacer, Visit&& visit)
{
    const double sir = s.sir;
    const double vis = s.vis;
    PassProgress pass(pacer, leftToRightPositions(sir, vis));
    for (double i = 0; i <= sir; ++i) {
        const double x = columnToX(s, i);
        for (double j = 0; j <= vis; ++j) {
            s.i = i;
            s.j = j;
            s.x = x;
            s.y = rowToY(s, j);
            visit();
            if (!pass.step())
                return false;
        }
    }
    return pass.finish();
}

// Type 2: rectangular rings growing from the centre, each clockwise from the second
// position of its top row, its top-left corner last.
template <typename Visit>
bool paintFromCentre(WindowState& s, Pacer& pacer, Visit&& visit)
{
    const double sir = s.sir;
    const double vis = s.vis;
    PassProgress pass(pacer, fromCentrePositions(sir, vis));
    const double cx = sir / 2;
    const double cy = vis / 2;
    const bool isWide = sir > vis;
    const double h = isWide ? vis / 2 : sir / 2;
    const double dx = isWide ? sir - vis : 0;
    const double dy = isWide ? 0 : vis - sir;
    double a = Int(cx - dx / 2 + 1);
    double b = Int(cx + dx / 2 - 1);
    double c = Int(cy - dy / 2 + 1);
    double d = Int(cy + dy / 2 - 1);
    const auto paint = [&](double i, double j) {
        detail::visitAt(s, i, j, visit);
        return pass.step();
    };
    for (double ring = 1; ring <= h + 1; ++ring) {
        a -= 1;
        b += 1;
        c -= 1;
        d += 1;
        for (double i = a; i <= b; ++i)
            if (!paint(i, c))
                return false;
        for (double j = c; j <= d; ++j)
            if (!paint(b + 1, j))
                return false;
        for (double i = b + 1; i >= a; --i)
            if (!paint(i, d + 1))
                return false;
        for (double j = d + 1; j >= c; --j)
            if (!paint(a - 1, j))
                return false;
    }
    return pass.finish();
}

// Every position of the random grid once, in random order found by redrawing against
// the visit table: leaves each in i, j and calls `atPosition()`. Does nothing when the
// grid does not fit the table.
template <typename AtPosition>
bool forEachRandomPosition(WindowState& s, Rnd& rnd, Pacer& pacer, AtPosition&& atPosition)
{
    const double sir = s.sir;
    const double vis = s.vis;
    const RandomGrid grid = randomGrid(sir, vis);
    if (!grid.isUsable())
        return true;
    clearVisited(s, grid);
    PassProgress pass(pacer, grid.positions);
    for (long long k = 0; k < grid.positions; ++k) {
        detail::pickUnvisited(s, rnd, sir, vis);
        atPosition();
        if (!pass.step())
            return false;
    }
    return pass.finish();
}

// One pass of type 3: every position of the grid once, in random order.
template <typename Visit>
bool paintRandomPass(WindowState& s, Rnd& rnd, Pacer& pacer, Visit&& visit)
{
    return forEachRandomPosition(s, rnd, pacer, [&] {
        s.x = columnToX(s, s.i);
        s.y = rowToY(s, s.j);
        visit();
    });
}

// The noise pass of type 4: every position of the grid once, in random order, set on
// the picture to a random colour (a third draw after column and row).
bool paintNoisePass(WindowState& s, Surface& picture1, Rnd& rnd, Pacer& pacer);

// Type 4: a noise pass, then a picture pass in a new random order.
template <typename Visit>
bool paintOrderToChaos(WindowState& s, Surface& picture1, Rnd& rnd, Pacer& pacer, Visit&& visit)
{
    return paintNoisePass(s, picture1, rnd, pacer) && paintRandomPass(s, rnd, pacer, visit);
}

// The traversal of generation type generationType(s.nac).
template <typename Visit>
bool paintInOrderOfType(WindowState& s, Surface& picture1, Rnd& rnd, Pacer& pacer, Visit&& visit)
{
    switch (generationType(s.nac)) {
    case 2:
        return paintFromCentre(s, pacer, visit);
    case 3:
        return paintRandomPass(s, rnd, pacer, visit);
    case 4:
        return paintOrderToChaos(s, picture1, rnd, pacer, visit);
    default:
        return paintLeftToRight(s, pacer, visit);
    }
}

} // namespace mandalix
