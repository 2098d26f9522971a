#include "slideshow/slide_painter.h"

#include "generator/pixel_pipeline.h"
#include "generator/traversals.h"
#include "slideshow/slide_frame.h"

#include <algorithm>

namespace mandalix {

SlidePainter::SlidePainter(int sidePx, int threads)
    : m_side(sidePx)
    , m_pool(threads)
    , m_frame(sidePx, sidePx, QImage::Format_RGB32)
{
    Q_ASSERT(sidePx >= 1);
    m_frame.fill(QColor(Qt::black));
    m_positions.resize(static_cast<std::size_t>(sidePx));
    for (int k = 0; k < sidePx; ++k)
        m_positions[static_cast<std::size_t>(k)] = slidePosition(k, sidePx);
    m_scratch.reserve(static_cast<std::size_t>(m_pool.threads()));
    for (int part = 0; part < m_pool.threads(); ++part)
        m_scratch.emplace_back(1, 1, kBlack);
}

QImage SlidePainter::snapshot() const
{
    std::lock_guard lock(m_frameMutex);
    return m_frame.copy();
}

bool SlidePainter::paint(const WindowState& s, const Surface& picture3, Rnd& rnd, Pacer& pacer)
{
    // The same coordinates for every block, computed once as the export does.
    m_xs.resize(m_positions.size());
    m_ys.resize(m_positions.size());
    for (std::size_t k = 0; k < m_positions.size(); ++k) {
        m_xs[k] = columnToX(s, m_positions[k]);
        m_ys[k] = rowToY(s, m_positions[k]);
    }
    m_states.assign(static_cast<std::size_t>(m_pool.threads()), s);

    switch (generationType(s.nac)) {
    case 2: {
        SquareOrder order(SquareOrderKind::Rings, m_side);
        return paintPass(order, false, picture3, pacer);
    }
    case 3: {
        SquareOrder order(SquareOrderKind::Random, m_side, &rnd);
        return paintPass(order, false, picture3, pacer);
    }
    case 4: {
        SquareOrder noise(SquareOrderKind::Random, m_side, &rnd);
        if (!paintPass(noise, true, picture3, pacer))
            return false;
        SquareOrder order(SquareOrderKind::Random, m_side, &rnd);
        return paintPass(order, false, picture3, pacer);
    }
    default: {
        SquareOrder order(SquareOrderKind::LeftToRight, m_side);
        return paintPass(order, false, picture3, pacer);
    }
    }
}

bool SlidePainter::paintPass(SquareOrder& order, bool isNoise, const Surface& picture3, Pacer& pacer)
{
    pacer.beginPass(order.positions());
    const long long blockSize =
        std::max(1LL, (order.positions() + kSlideBlocksPerPass - 1) / kSlideBlocksPerPass);
    while (!order.isDone()) {
        order.take(blockSize, m_block, isNoise ? &m_noise : nullptr);
        m_colours.resize(m_block.size());
        if (isNoise) {
            for (std::size_t k = 0; k < m_block.size(); ++k)
                m_colours[k] = toArgb(m_noise[k]);
        } else {
            m_pool.run([&](int part) { computeColours(part, picture3); });
        }
        writeBlock();
        if (!pacer.checkpoint(order.taken()))
            return false;
    }
    return true;
}

void SlidePainter::computeColours(int part, const Surface& picture3)
{
    // Each part is a contiguous share of the block, painted with its own state.
    const std::size_t parts = static_cast<std::size_t>(m_pool.threads());
    const std::size_t first = m_block.size() * static_cast<std::size_t>(part) / parts;
    const std::size_t last = m_block.size() * static_cast<std::size_t>(part + 1) / parts;
    WindowState& s = m_states[static_cast<std::size_t>(part)];
    Surface& scratch = m_scratch[static_cast<std::size_t>(part)];
    const auto side = static_cast<SquarePosition>(m_side);
    for (std::size_t k = first; k < last; ++k) {
        const std::size_t column = m_block[k] % side;
        const std::size_t row = m_block[k] / side;
        s.i = m_positions[column];
        s.j = m_positions[row];
        s.x = m_xs[column];
        s.y = m_ys[row];
        m_colours[k] = DrawPixel(s, picture3, scratch) ? toArgb(s.barva) : 0;
    }
}

void SlidePainter::writeBlock()
{
    {
        std::lock_guard lock(m_frameMutex);
        uchar* bits = m_frame.bits();
        const qsizetype bytesPerLine = m_frame.bytesPerLine();
        const auto side = static_cast<SquarePosition>(m_side);
        for (std::size_t k = 0; k < m_block.size(); ++k) {
            if (m_colours[k] == 0)
                continue;
            auto* line = reinterpret_cast<std::uint32_t*>(bits + bytesPerLine * (m_block[k] / side));
            line[m_block[k] % side] = m_colours[k];
        }
    }
    m_changes.fetch_add(1, std::memory_order_release);
}

} // namespace mandalix
