#include "generator/traversals.h"

#include <cmath>

namespace mandalix {

int generationType(double nac)
{
    const double type = roundHalfEven(nac);
    return type >= 1 && type <= 4 ? static_cast<int>(type) : 1;
}

long long leftToRightPositions(double sir, double vis)
{
    // Written so that a NaN size counts as no position, as the loop paints none.
    const long long columns = sir >= 0 ? static_cast<long long>(Int(sir)) + 1 : 0;
    const long long rows = vis >= 0 ? static_cast<long long>(Int(vis)) + 1 : 0;
    return columns * rows;
}

long long fromCentrePositions(double sir, double vis)
{
    // The same bounds as paintFromCentre, counted side by side instead of visited.
    const bool isWide = sir > vis;
    const double h = isWide ? vis / 2 : sir / 2;
    const double dx = isWide ? sir - vis : 0;
    const double dy = isWide ? 0 : vis - sir;
    double a = Int(sir / 2 - dx / 2 + 1);
    double b = Int(sir / 2 + dx / 2 - 1);
    double c = Int(vis / 2 - dy / 2 + 1);
    double d = Int(vis / 2 + dy / 2 - 1);
    const auto count = [](double n) { return n > 0 ? static_cast<long long>(n) : 0LL; };
    long long positions = 0;
    for (double ring = 1; ring <= h + 1; ++ring) {
        a -= 1;
        b += 1;
        c -= 1;
        d += 1;
        positions += count(b - a + 1) + count(d - c + 1) + count(b - a + 2) + count(d - c + 2);
    }
    return positions;
}

RandomGrid randomGrid(double sir, double vis)
{
    // Int(sir * Rnd) reaches every column 0..ceil(sir) - 1, so that is the grid; a size
    // beyond the visit table (or no size at all) gives no grid rather than a write
    // outside the table or a pass that can never find a free cell.
    const auto fits = [](double n) { return n > 0 && n <= kVisitedSize; };
    if (!fits(sir) || !fits(vis))
        return {};
    RandomGrid grid;
    grid.columns = static_cast<int>(std::ceil(sir));
    grid.rows = static_cast<int>(std::ceil(vis));
    grid.positions = static_cast<long long>(Int(sir * vis));
    return grid;
}

void clearVisited(WindowState& s, const RandomGrid& grid)
{
    for (int i = 0; i < grid.columns; ++i)
        for (int j = 0; j < grid.rows; ++j)
            s.visitedAt(i, j) = 0;
}

bool paintNoisePass(WindowState& s, Surface& picture1, Rnd& rnd, Pacer& pacer)
{
    // No coordinates: the noise is set straight on the picture.
    return forEachRandomPosition(s, rnd, pacer, [&] {
        const auto noise = static_cast<Colour>(roundHalfEven(rnd.next() * 16777215.0));
        picture1.PSet(static_cast<int>(s.i), static_cast<int>(s.j), noise);
    });
}

} // namespace mandalix
