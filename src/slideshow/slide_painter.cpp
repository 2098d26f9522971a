#include "slideshow/slide_painter.h"

#include "generator/frame_blocks.h"
#include "generator/picture_parameters.h"
#include "palette/strip_colours.h"

#include <algorithm>

namespace mandalix {

namespace {

// Publishes the frame at each checkpoint before the slide show's pacer is asked.
class PublishingPacer final : public Pacer {
public:
    PublishingPacer(Pacer& pacer, std::atomic<std::uint64_t>& changes) : m_pacer(pacer), m_changes(changes) { }
    void beginPass(long long positions) override { m_pacer.beginPass(positions); }
    bool checkpoint(long long done) override
    {
        m_changes.fetch_add(1, std::memory_order_release);
        return m_pacer.checkpoint(done);
    }

private:
    Pacer& m_pacer;
    std::atomic<std::uint64_t>& m_changes;
};

} // namespace

SlidePainter::SlidePainter(int sidePx, int threads)
    : m_side(sidePx)
    , m_threads(std::max(1, threads))
    , m_frame(sidePx, sidePx, QImage::Format_RGB32)
{
    Q_ASSERT(sidePx >= 1);
    m_frame.fill(QColor(Qt::black));
}

QImage SlidePainter::snapshot() const
{
    std::lock_guard lock(m_frameMutex);
    return m_frame.copy();
}

bool SlidePainter::paint(const PictureRecord& record, Pacer& pacer)
{
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    BlockPainter painter(engine, QSize(m_side, m_side), m_threads);
    // The window's picture seeds its generator and makes the parameter draws before the
    // first position is drawn.
    Rnd rnd(record.seed);
    if (!record.isRepeat)
        skipPictureParameters(rnd);
    PublishingPacer publishing(pacer, m_changes);
    return painter.paint(record.nac, m_frame, m_frameMutex, rnd, publishing);
}

} // namespace mandalix
