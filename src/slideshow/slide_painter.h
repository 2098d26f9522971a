// The slide show's picture: a square frame of the screen's device pixels, painted in the
// order of the generation type one block of positions at a time. The colours of a block
// are computed on a pool of threads, each with its own copy of the window state, then
// written into the frame and published; the pacer runs between blocks and may stop the
// picture there. paint() runs on one thread (the slide show's); snapshot() and changes()
// on any. Nothing fails: a pixel whose pipeline fails keeps what the frame showed.
#pragma once

#include "generator/pacer.h"
#include "generator/rnd.h"
#include "generator/square_orders.h"
#include "slideshow/paint_pool.h"
#include "state/window_state.h"
#include "surface/surface.h"

#include <QImage>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace mandalix {

// Blocks in one pass: a 2-second pass publishes 120 times a second, so that a late
// wake-up on a busy machine still leaves the screen a new frame well within 20 ms.
inline constexpr long long kSlideBlocksPerPass = 240;

class SlidePainter {
public:
    // A black frame of sidePx x sidePx; `threads` share each block (at least 1).
    SlidePainter(int sidePx, int threads);
    SlidePainter(const SlidePainter&) = delete;
    SlidePainter& operator=(const SlidePainter&) = delete;

    int side() const { return m_side; }
    int threads() const { return m_pool.threads(); }

    // A copy of the frame as it was at the last publish. Any thread.
    QImage snapshot() const;
    // Calls `use` with the frame as it was at the last publish, holding the frame's lock
    // meanwhile: to draw it on screen without a copy. Any thread; `use` must be short and
    // must keep no copy of the image.
    void withFrame(const std::function<void(const QImage&)>& use) const
    {
        std::lock_guard lock(m_frameMutex);
        use(m_frame);
    }
    // Moves once per publish. Any thread.
    std::uint64_t changes() const { return m_changes.load(std::memory_order_acquire); }

    // Paints the picture of `s` (its parameters, generation type and coordinate window)
    // with the colours of the strip `picture3` over the frame: the order of generation
    // type s.nac at the frame's size, random orders and noise drawn from `rnd`. Each pass
    // begins with pacer.beginPass; after each block the frame is published and
    // pacer.checkpoint is asked. Returns false when the pacer stopped it.
    bool paint(const WindowState& s, const Surface& picture3, Rnd& rnd, Pacer& pacer);

private:
    bool paintPass(SquareOrder& order, bool isNoise, const Surface& picture3, Pacer& pacer);
    void computeColours(int part, const Surface& picture3);
    void writeBlock();

    const int m_side;
    PaintPool m_pool;
    std::vector<double> m_positions; // window grid position of each frame column or row
    std::vector<double> m_xs;
    std::vector<double> m_ys;
    std::vector<WindowState> m_states; // one per part of a block
    std::vector<Surface> m_scratch;    // what the pipeline paints into, one per part

    std::vector<SquarePosition> m_block;
    std::vector<Colour> m_noise;
    std::vector<std::uint32_t> m_colours; // 0: the pipeline failed there

    mutable std::mutex m_frameMutex; // guards m_frame
    QImage m_frame;
    std::atomic<std::uint64_t> m_changes{0};
};

} // namespace mandalix
