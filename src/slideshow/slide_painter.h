// The slide show's picture: a square frame of the screen's device pixels that the frame
// engine paints a record into block by block, in the order of its generation type. The
// painter owns the frame, its lock and its change counter: paint() runs on one thread
// (the slide show's); snapshot(), withFrame() and changes() on any. Nothing fails: a
// pixel that fails keeps what the frame showed.
#pragma once

#include "generator/pacer.h"
#include "state/picture_record.h"

#include <QImage>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace mandalix {

class SlidePainter {
public:
    // A black frame of sidePx x sidePx; `threads` of the shared pool share each picture
    // (at least 1).
    SlidePainter(int sidePx, int threads);
    SlidePainter(const SlidePainter&) = delete;
    SlidePainter& operator=(const SlidePainter&) = delete;

    int side() const { return m_side; }

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

    // Paints `record` over the frame (framed as any picture of that size, with the
    // record's colours and recolourings) in the order of its generation type, the random
    // orders and the noise drawn as the window's picture of the record draws them. Each
    // pass begins with pacer.beginPass; after each block the frame is published and
    // pacer.checkpoint is asked. Returns false when the pacer stopped it.
    bool paint(const PictureRecord& record, Pacer& pacer);

private:
    const int m_side;
    const int m_threads;

    mutable std::mutex m_frameMutex; // guards m_frame
    QImage m_frame;
    std::atomic<std::uint64_t> m_changes{0};
};

} // namespace mandalix
