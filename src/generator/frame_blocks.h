// The frame engine's picture painted block by block in the order of its generation type,
// for watching it grow: into a caller-owned RGB32 frame, which the painter writes only
// under the caller's lock, one block at a time, and a pacer between blocks that may
// publish, wait and stop. The picture's indices are painted at once on the shared pool
// before the pass that shows them, so watching costs little more than the picture; each
// block then writes its positions row by row. One thread paints with one BlockPainter;
// the frame may be read on any thread under the lock. Nothing fails: a failed pixel
// keeps what the frame showed, and so does every pixel when the indices find no memory.
#pragma once

#include "generator/frame_engine.h"
#include "generator/pacer.h"
#include "generator/rnd.h"
#include "generator/square_orders.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <mutex>
#include <vector>

namespace mandalix {

// Blocks in one pass: a 2-second pass publishes 120 times a second, so that a late
// wake-up on a busy machine still leaves the screen a new frame well within 20 ms.
inline constexpr long long kBlocksPerPass = 240;

class BlockPainter {
public:
    // A painter of `engine`'s picture into frames of `size` (1..kMaxPictureSidePx a side)
    // on at most `threads` threads of the shared pool (at least 1). `engine` must outlive it.
    BlockPainter(const FrameEngine& engine, QSize size, int threads);
    BlockPainter(const BlockPainter&) = delete;
    BlockPainter& operator=(const BlockPainter&) = delete;

    // Paints over `frame` (Format_RGB32 of the painter's size) in the order of generation
    // type `nac`: 1 left to right, 2 rings from the centre, 3 random, 4 a pass of random
    // 24-bit noise then random. The orders run over the square of the longer side with
    // the frame centred in it; positions outside the frame are passed over. Random orders
    // and noise draw from `rnd`. Each pass begins with pacer.beginPass(square positions);
    // after each block is written, with `frameLock` released again, pacer.checkpoint is
    // asked with the positions taken. Returns false when the pacer stopped it (its stop
    // flag also ends the painting of the indices at once) or memory ran out.
    bool paint(double nac, QImage& frame, std::mutex& frameLock, Rnd& rnd, Pacer& pacer);

private:
    bool paintPass(SquareOrder& order, bool isNoise, QImage& frame, std::mutex& frameLock, Pacer& pacer);
    void sortBlock(bool isNoise);
    void writeBlock(bool isNoise, QImage& frame) const;

    const FrameEngine& m_engine;
    const QSize m_size;
    const int m_threads;
    const int m_square;     // side of the square the orders run over
    const QPoint m_offset;  // the frame's top-left corner in that square
    const std::uint64_t m_rowMultiplier; // divides a square position by the side
    QImage m_indices;       // the finished picture's indices; null when out of memory

    std::vector<SquarePosition> m_block;
    std::vector<Colour> m_noise;
    std::vector<int> m_rowOf;         // frame row of each position of the block; -1 outside
    std::vector<std::uint16_t> m_columnOf;
    std::vector<int> m_rowStarts;     // the sorted block's entries of frame row r: [r], [r + 1])
    std::vector<std::uint16_t> m_columns; // frame columns of the block, row by row
    std::vector<Colour> m_sortedNoise;    // their noise, alike
};

} // namespace mandalix
