// The orders of the generation types over a square grid of any side, handed out in
// blocks: column by column, square rings growing from the centre, and random point after
// point as a shuffle of the whole grid worked out position by position, with no visit
// table and no redraws. The block painter takes a block, writes it and publishes. One
// owner thread per order; nothing fails.
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

// Rounds of the random order's shuffle: each moves one coordinate by a random amount
// picked by the other, alternately; four leave no trace of the grid's rows or columns.
inline constexpr int kShuffleRounds = 4;
static_assert(kShuffleRounds % 2 == 0, "the rounds go in pairs, column then row");

// Side of ring `ring` (0 = innermost) of a grid of side `side`: 1 or 2, then growing by 2.
inline int ringSide(int side, int ring) { return 2 - side % 2 + 2 * ring; }
// Rings of a grid of side `side`: ceil(side / 2).
inline int ringCount(int side) { return (side + 1) / 2; }

class SquareOrder {
public:
    // Requires side >= 1 and side * side < 2^32. The random order draws its shuffle from
    // `rnd` here (kShuffleRounds * side draws) and only the noise later; `rnd` must
    // outlive it. The other orders never draw.
    SquareOrder(SquareOrderKind kind, int side, Rnd* rnd = nullptr);

    int side() const { return m_side; }
    long long positions() const { return static_cast<long long>(m_side) * m_side; }
    long long taken() const { return m_taken; }
    bool isDone() const { return m_taken == positions(); }

    // Replaces `block` with the next `count` positions of the order (fewer at its end).
    // With `noise`, each random position gets one more draw, a colour of 24 bits, in
    // `noise` alike.
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

    // Random: the shift of each round for each value of the other coordinate, and the
    // column and row of the next position before the shuffle.
    std::vector<std::uint16_t> m_shifts; // small enough for the processor's first cache
    int m_column = 0;
    int m_row = 0;
};

} // namespace mandalix
