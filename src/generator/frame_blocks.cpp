#include "generator/frame_blocks.h"

#include "generator/picture_frame.h"
#include "generator/traversals.h"

#include <algorithm>

namespace mandalix {

static_assert(kMaxPictureSidePx <= 65536, "a frame column fits 16 bits");

namespace {

// Square rows by multiplying with 2^44 / side rounded up instead of dividing: for
// side <= kMaxPictureSidePx and positions below side^2 the error stays under 1 / side,
// so the quotient is exact, and the product stays under 2^59.
constexpr int kRowShift = 44;
static_assert(static_cast<double>(kMaxPictureSidePx) * kMaxPictureSidePx * kMaxPictureSidePx < 0x1p44,
              "side^3 below 2^44 keeps the quotient exact");

// How many rows ahead of the one written a random block's indices are fetched.
constexpr int kRowsAhead = 4;

std::uint64_t rowMultiplier(int side)
{
    return ((std::uint64_t{1} << kRowShift) + static_cast<std::uint64_t>(side) - 1) / static_cast<std::uint64_t>(side);
}

} // namespace

BlockPainter::BlockPainter(const FrameEngine& engine, QSize size, int threads)
    : m_engine(engine)
    , m_size(size)
    , m_threads(std::max(1, threads))
    , m_square(std::max(size.width(), size.height()))
    , m_offset((m_square - size.width()) / 2, (m_square - size.height()) / 2)
    , m_rowMultiplier(rowMultiplier(m_square))
{
    Q_ASSERT(size.width() >= 1 && size.height() >= 1);
    m_rowStarts.resize(static_cast<std::size_t>(size.height()) + 1);
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
    // The whole picture once, sharing the terms of a distance as only painting at once
    // can; the blocks then only copy its colours. A stop ends it between tiles.
    m_indices = m_engine.paint(m_size, m_threads, {}, pacer.stopFlag());
    if (m_indices.isNull())
        return false;
    SquareOrder order(kind, m_square, &rnd);
    return paintPass(order, false, frame, frameLock, pacer);
}

bool BlockPainter::paintPass(SquareOrder& order, bool isNoise, QImage& frame, std::mutex& frameLock, Pacer& pacer)
{
    pacer.beginPass(order.positions());
    const long long blockSize = std::max(1LL, (order.positions() + kBlocksPerPass - 1) / kBlocksPerPass);
    while (!order.isDone()) {
        order.take(blockSize, m_block, isNoise ? &m_noise : nullptr);
        sortBlock(isNoise);
        {
            std::lock_guard lock(frameLock);
            writeBlock(isNoise, frame);
        }
        if (!pacer.checkpoint(order.taken()))
            return false;
    }
    return true;
}

// Groups the block's positions inside the frame by frame row, top to bottom, with their
// noise: a block is published whole, so the order within it shows nowhere, and rows one
// after another keep the writes in a large frame close together.
void BlockPainter::sortBlock(bool isNoise)
{
    const auto side = static_cast<SquarePosition>(m_square);
    const std::size_t count = m_block.size();
    m_rowOf.resize(count);
    m_columnOf.resize(count);
    std::fill(m_rowStarts.begin(), m_rowStarts.end(), 0);
    for (std::size_t k = 0; k < count; ++k) {
        const auto squareRow = static_cast<SquarePosition>((m_block[k] * m_rowMultiplier) >> kRowShift);
        const int row = static_cast<int>(squareRow) - m_offset.y();
        const int column = static_cast<int>(m_block[k] - squareRow * side) - m_offset.x();
        const bool isInside = column >= 0 && row >= 0 && column < m_size.width() && row < m_size.height();
        m_rowOf[k] = isInside ? row : -1;
        m_columnOf[k] = static_cast<std::uint16_t>(column);
        if (isInside)
            ++m_rowStarts[static_cast<std::size_t>(row) + 1];
    }
    for (std::size_t row = 1; row < m_rowStarts.size(); ++row)
        m_rowStarts[row] += m_rowStarts[row - 1];
    m_columns.resize(static_cast<std::size_t>(m_rowStarts.back()));
    m_sortedNoise.resize(isNoise ? m_columns.size() : 0);
    // Filling moves each row's start to the next row's; the rows are then one behind.
    for (std::size_t k = 0; k < count; ++k) {
        if (m_rowOf[k] < 0)
            continue;
        const auto entry = static_cast<std::size_t>(m_rowStarts[static_cast<std::size_t>(m_rowOf[k])]++);
        m_columns[entry] = m_columnOf[k];
        if (isNoise)
            m_sortedNoise[entry] = m_noise[k];
    }
    std::move_backward(m_rowStarts.begin(), m_rowStarts.end() - 1, m_rowStarts.end());
    m_rowStarts.front() = 0;
}

void BlockPainter::writeBlock(bool isNoise, QImage& frame) const
{
    if (!isNoise && m_indices.isNull())
        return;
    const QRgb* table = m_engine.colourTable().constData();
    uchar* bits = frame.bits();
    const qsizetype bytesPerLine = frame.bytesPerLine();
    for (int row = 0; row < m_size.height(); ++row) {
        const auto first = static_cast<std::size_t>(m_rowStarts[static_cast<std::size_t>(row)]);
        const auto last = static_cast<std::size_t>(m_rowStarts[static_cast<std::size_t>(row) + 1]);
        if (first == last)
            continue;
        auto* line = reinterpret_cast<QRgb*>(bits + bytesPerLine * row);
        if (isNoise) {
            for (std::size_t entry = first; entry < last; ++entry)
                line[m_columns[entry]] = toArgb(m_sortedNoise[entry]);
            continue;
        }
        // The indices a few rows on are asked for now, so that they have arrived by then:
        // waiting for them was most of a random block's writing.
        const int ahead = std::min(row + kRowsAhead, m_size.height() - 1);
        const uchar* aheadIndices = m_indices.constScanLine(ahead);
        for (auto entry = static_cast<std::size_t>(m_rowStarts[static_cast<std::size_t>(ahead)]);
             entry < static_cast<std::size_t>(m_rowStarts[static_cast<std::size_t>(ahead) + 1]); ++entry)
            __builtin_prefetch(aheadIndices + m_columns[entry]);
        const uchar* indices = m_indices.constScanLine(row);
        for (std::size_t entry = first; entry < last; ++entry) {
            const uchar index = indices[m_columns[entry]];
            if (index != kFailedIndex)
                line[m_columns[entry]] = table[index];
        }
    }
}

} // namespace mandalix
