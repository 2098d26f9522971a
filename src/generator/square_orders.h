// The orders of the generation types over a square grid of any side, handed out in
// blocks: column by column, square rings growing from the centre, and random point after
// point against a visit table of a bit a position. The painter of the slide show takes
// a block, paints it on several threads and publishes. One owner thread per order;
// nothing fails.
#pragma once

#include "generator/rnd.h"
#include "surface/colour.h"

#include <cstdint>
#include <vector>

namespace mandalix {

// A position of a square grid packed as row * side + column.
using SquarePosition = std::uint32_t;

enum class SquareOrderKind {
    LeftToRight, // column by column from the left, each column from top to bottom
    Rings,       // square rings growing from the centre, each clockwise
    Random,      // every position once, in random order
};

// The random order redraws against the visit table while at least this share of the
// grid is unpainted; then it lists the unpainted cells and draws among them, so the last
// positions of a large grid do not cost millions of redraws.
inline constexpr int kRedrawWhileFreeOneIn = 8;

// Side of ring `ring` (0 = innermost) of a grid of side `side`: 1 or 2, then growing by 2.
inline int ringSide(int side, int ring) { return 2 - side % 2 + 2 * ring; }
// Rings of a grid of side `side`: ceil(side / 2).
inline int ringCount(int side) { return (side + 1) / 2; }

class SquareOrder {
public:
    // Requires side >= 1 and side * side < 2^32. The random order draws from `rnd`, which
    // must outlive it; the other orders never draw.
    SquareOrder(SquareOrderKind kind, int side, Rnd* rnd = nullptr);

    int side() const { return m_side; }
    long long positions() const { return static_cast<long long>(m_side) * m_side; }
    long long taken() const { return m_taken; }
    bool isDone() const { return m_taken == positions(); }

    // Replaces `block` with the next `count` positions of the order (fewer at its end).
    // With `noise`, each random position is followed by one more draw, a colour of 24
    // bits, replacing `noise` alike; the window's noise pass draws in that order.
    void take(long long count, std::vector<SquarePosition>& block,
              std::vector<Colour>* noise = nullptr);

private:
    SquarePosition nextLeftToRight();
    SquarePosition nextOnRing();
    SquarePosition nextRandom();
    SquarePosition pack(int column, int row) const
    {
        return static_cast<SquarePosition>(row) * static_cast<SquarePosition>(m_side)
            + static_cast<SquarePosition>(column);
    }

    SquareOrderKind m_kind;
    int m_side;
    Rnd* m_rnd;
    long long m_taken = 0;

    // Rings: the ring and the step along it.
    int m_ring = 0;
    int m_step = 0;

    bool isVisited(SquarePosition position) const { return (m_visited[position / 64] >> (position % 64)) & 1U; }
    void visit(SquarePosition position) { m_visited[position / 64] |= std::uint64_t{1} << (position % 64); }

    // Random: the visit table, a bit a position so that it stays in the processor's
    // caches, then the list of cells still free once it is short.
    std::vector<std::uint64_t> m_visited;
    std::vector<SquarePosition> m_free;
    bool m_isListing = false;
};

} // namespace mandalix
