#include "app/surface_view.h"

#include "app/band_drawing.h"

#include <QMouseEvent>
#include <QPainter>

#include <mutex>

namespace mandalix {

namespace {
constexpr int kPollMs = 16;
}

SurfaceView::SurfaceView(Surfaces& surfaces, const Surface& surface, bool bordered,
                         QWidget* parent)
    : QFrame(parent)
    , m_surfaces(surfaces)
    , m_surface(surface)
    , m_changes(surfaces.changesOf(surface))
{
    if (bordered) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(kBorderPx);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A surface that is never shown has no count to poll; its view copies it once.
    if (m_changes) {
        connect(&m_poll, &QTimer::timeout, this, &SurfaceView::refresh);
        m_poll.start(kPollMs);
    }
    refresh();
}

void SurfaceView::refresh()
{
    const std::uint64_t changes = m_changes ? m_changes->load(std::memory_order_acquire) : 0;
    if (changes == m_seenChanges)
        return;
    {
        std::lock_guard lock(m_surfaces.lock);
        m_snapshot = m_surface.image();
    }
    m_seenChanges = changes;
    update();
    emit changed();
}

void SurfaceView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    painter.fillRect(area, Qt::black);
    drawInBands(painter, area.topLeft(), m_snapshot);
}

void SurfaceView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint() - contentsRect().topLeft();
    emit pressed(at.x(), at.y());
    QFrame::mousePressEvent(event);
}

} // namespace mandalix
