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
    if (kind == SquareOrderKind::Random)
        m_visited.assign(static_cast<std::size_t>((positions() + 63) / 64), 0);
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

SquarePosition SquareOrder::nextRandom()
{
    const long long free = positions() - m_taken;
    if (!m_isListing && free * kRedrawWhileFreeOneIn >= positions()) {
        // Column first, then row, redrawn until the cell is unpainted.
        const double side = m_side;
        for (;;) {
            const int i = static_cast<int>(Int(side * m_rnd->next()));
            const int j = static_cast<int>(Int(side * m_rnd->next()));
            const SquarePosition cell = pack(i, j);
            if (isVisited(cell))
                continue;
            visit(cell);
            return cell;
        }
    }
    if (!m_isListing) {
        m_isListing = true;
        m_free.clear();
        m_free.reserve(static_cast<std::size_t>(free));
        for (int i = 0; i < m_side; ++i)
            for (int j = 0; j < m_side; ++j)
                if (!isVisited(pack(i, j)))
                    m_free.push_back(pack(i, j));
    }
    // A uniform draw among the free cells: the same chance each as the redrawing gives.
    const auto pick = static_cast<std::size_t>(Int(static_cast<double>(m_free.size()) * m_rnd->next()));
    const SquarePosition position = m_free[pick];
    m_free[pick] = m_free.back();
    m_free.pop_back();
    visit(position);
    return position;
}

} // namespace mandalix
