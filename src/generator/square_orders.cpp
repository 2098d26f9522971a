#include "generator/square_orders.h"

#include <QtGlobal>

namespace mandalix {

SquareOrder::SquareOrder(SquareOrderKind kind, int side, Rnd* rnd)
    : m_kind(kind)
    , m_side(side)
    , m_rnd(rnd)
{
    Q_ASSERT(side >= 1);
    Q_ASSERT(kind != SquareOrderKind::Random || rnd != nullptr);
    if (kind == SquareOrderKind::Random) {
        m_shifts.resize(static_cast<std::size_t>(kShuffleRounds) * static_cast<std::size_t>(side));
        for (std::uint16_t& shift : m_shifts)
            shift = static_cast<std::uint16_t>(Int(side * static_cast<double>(rnd->next())));
    }
}

// Position m_taken of the grid in reading order, shuffled: each round adds to one
// coordinate, modulo the side, a shift picked by the other, which a later round can undo
// knowing the shifts, so every position comes out exactly once.
inline SquarePosition SquareOrder::nextRandom()
{
    int column = m_column;
    int row = m_row;
    if (++m_column == m_side) {
        m_column = 0;
        ++m_row;
    }
    const std::uint16_t* shifts = m_shifts.data();
    const auto shifted = [&](int value, int shift) {
        const int sum = value + shift;
        return sum >= m_side ? sum - m_side : sum;
    };
    for (int round = 0; round < kShuffleRounds; round += 2) {
        column = shifted(column, shifts[row]);
        shifts += m_side;
        row = shifted(row, shifts[column]);
        shifts += m_side;
    }
    return pack(column, row);
}

void SquareOrder::take(long long count, std::vector<SquarePosition>& block, std::vector<Colour>* noise)
{
    block.clear();
    if (noise)
        noise->clear();
    for (long long k = 0; k < count && !isDone(); ++k) {
        switch (m_kind) {
        case SquareOrderKind::LeftToRight:
            block.push_back(nextLeftToRight());
            break;
        case SquareOrderKind::Rings:
            block.push_back(nextOnRing());
            break;
        case SquareOrderKind::Random:
            block.push_back(nextRandom());
            if (noise)
                noise->push_back(static_cast<Colour>(roundHalfEven(m_rnd->next() * 16777215.0)));
            break;
        }
        ++m_taken;
    }
}

SquarePosition SquareOrder::nextLeftToRight()
{
    const long long k = m_taken;
    return pack(static_cast<int>(k / m_side), static_cast<int>(k % m_side));
}

SquarePosition SquareOrder::nextOnRing()
{
    // Ring of side s spans lo..hi both ways; it starts at the second position of its top
    // row, goes clockwise and ends at its top-left corner, as the window's rings do.
    const int s = ringSide(m_side, m_ring);
    const int lo = (m_side - s) / 2;
    const int hi = lo + s - 1;
    const int edge = s - 1;
    const int t = m_step;
    SquarePosition position = 0;
    if (edge == 0)
        position = pack(lo, lo);
    else if (t < edge)
        position = pack(lo + 1 + t, lo);
    else if (t < 2 * edge)
        position = pack(hi, lo + 1 + (t - edge));
    else if (t < 3 * edge)
        position = pack(hi - 1 - (t - 2 * edge), hi);
    else
        position = pack(lo, hi - 1 - (t - 3 * edge));
    if (++m_step >= (edge == 0 ? 1 : 4 * edge)) {
        m_step = 0;
        ++m_ring;
    }
    return position;
}

} // namespace mandalix
