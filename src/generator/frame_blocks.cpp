#include "generator/frame_blocks.h"

#include "base/work_pool.h"
#include "generator/picture_frame.h"
#include "generator/traversals.h"

#include <algorithm>

namespace mandalix {

namespace {

// A position of the square that lies outside the frame.
constexpr std::uint8_t kOutside = 0xFF;
static_assert(kOutside != kFailedIndex && kOutside >= kFrameColours);

} // namespace

BlockPainter::BlockPainter(const FrameEngine& engine, QSize size, int threads)
    : m_engine(engine)
    , m_size(size)
    , m_threads(std::max(1, threads))
    , m_square(std::max(size.width(), size.height()))
    , m_offset((m_square - size.width()) / 2, (m_square - size.height()) / 2)
{
    Q_ASSERT(size.width() >= 1 && size.height() >= 1);
    const int shorter = shorterSide(size.width(), size.height());
    m_xs = engine.columnXs(size.width(), shorter);
    m_ys = engine.rowYs(size.height(), shorter);
}

bool BlockPainter::paint(double nac, QImage& frame, std::mutex& frameLock, Rnd& rnd, Pacer& pacer)
{
    Q_ASSERT(frame.size() == m_size && frame.format() == QImage::Format_RGB32);
    const int type = generationType(nac);
    SquareOrderKind kind = SquareOrderKind::LeftToRight;
    if (type == 2)
        kind = SquareOrderKind::Rings;
    else if (type >= 3)
        kind = SquareOrderKind::Random;
    if (type == 4) {
        SquareOrder noise(SquareOrderKind::Random, m_square, &rnd);
        if (!paintPass(noise, true, frame, frameLock, pacer))
            return false;
    }
    SquareOrder order(kind, m_square, &rnd);
    return paintPass(order, false, frame, frameLock, pacer);
}

bool BlockPainter::paintPass(SquareOrder& order, bool isNoise, QImage& frame, std::mutex& frameLock, Pacer& pacer)
{
    pacer.beginPass(order.positions());
    const long long blockSize = std::max(1LL, (order.positions() + kBlocksPerPass - 1) / kBlocksPerPass);
    const auto parts = static_cast<std::size_t>(m_threads);
    while (!order.isDone()) {
        order.take(blockSize, m_block, isNoise ? &m_noise : nullptr);
        m_indices.resize(m_block.size());
        if (isNoise) {
            computeIndices(0, m_block.size(), true);
        } else {
            // Each part a contiguous share of the block.
            const std::size_t size = m_block.size();
            sharedPool().parallelFor(static_cast<long long>(parts), m_threads, [&](long long part, int) {
                const auto k = static_cast<std::size_t>(part);
                computeIndices(size * k / parts, size * (k + 1) / parts, false);
            });
        }
        {
            std::lock_guard lock(frameLock);
            writeBlock(isNoise, frame);
        }
        if (!pacer.checkpoint(order.taken()))
            return false;
    }
    return true;
}

// The indices of the block's positions first..last - 1; the noise pass computes none but
// still marks the positions outside the frame.
void BlockPainter::computeIndices(std::size_t first, std::size_t last, bool isNoise)
{
    const PixelTerms& terms = m_engine.terms();
    const auto side = static_cast<SquarePosition>(m_square);
    for (std::size_t k = first; k < last; ++k) {
        const int column = static_cast<int>(m_block[k] % side) - m_offset.x();
        const int row = static_cast<int>(m_block[k] / side) - m_offset.y();
        if (column < 0 || row < 0 || column >= m_size.width() || row >= m_size.height()) {
            m_indices[k] = kOutside;
            continue;
        }
        if (isNoise) {
            m_indices[k] = 0;
            continue;
        }
        const double x = m_xs[static_cast<std::size_t>(column)];
        const double y = m_ys[static_cast<std::size_t>(row)];
        m_indices[k] = terms.index(terms.radial(x, y), x, y);
    }
}

void BlockPainter::writeBlock(bool isNoise, QImage& frame) const
{
    const QList<QRgb>& table = m_engine.colourTable();
    uchar* bits = frame.bits();
    const qsizetype bytesPerLine = frame.bytesPerLine();
    const auto side = static_cast<SquarePosition>(m_square);
    for (std::size_t k = 0; k < m_block.size(); ++k) {
        const std::uint8_t index = m_indices[k];
        if (index == kOutside || (!isNoise && index == kFailedIndex))
            continue;
        const int column = static_cast<int>(m_block[k] % side) - m_offset.x();
        const int row = static_cast<int>(m_block[k] / side) - m_offset.y();
        auto* line = reinterpret_cast<QRgb*>(bits + bytesPerLine * row);
        line[column] = isNoise ? toArgb(m_noise[k]) : table[index];
    }
}

} // namespace mandalix
