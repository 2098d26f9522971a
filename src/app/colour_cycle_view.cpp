#include "app/colour_cycle_view.h"

#include "app/band_drawing.h"
#include "base/work_pool.h"
#include "generator/frame_engine.h"
#include "palette/colour_cycle.h"
#include "palette/strip_colours.h"

#include <QPainter>

namespace mandalix {

ColourCycleView::ColourCycleView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ColourCycle"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, &ColourCycleView::step);
}

void ColourCycleView::start(const PictureRecord& record, const QImage& shown, qreal ratio)
{
    QList<QRgb> table = frameColourTable(record);
    // Where the pipeline fails, Picture1 shows through.
    table[kFailedIndex] = qRgba(0, 0, 0, 0);
    m_table = table;
    m_indices = FrameEngine(frameStateOf(record), m_table).paint(shown.size(), processorCount());
    m_shown = shown.convertToFormat(QImage::Format_RGB32);
    m_shift = 0;
    m_ratio = ratio;
    resize((QSizeF(shown.size()) / ratio).toSize());
    show();
    raise();
    m_timer.start();
}

void ColourCycleView::stop()
{
    m_timer.stop();
    hide();
}

QImage ColourCycleView::frame() const
{
    QImage frame = m_shown;
    QImage cycled = m_indices;
    cycled.setColorTable(cycledColourTable(m_table, m_shift));
    QPainter painter(&frame);
    drawInBands(painter, QPointF(0, 0), cycled);
    return frame;
}

void ColourCycleView::step()
{
    m_shift = (m_shift + 1) % kPaletteIndices;
    update();
}

void ColourCycleView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawInBands(painter, QPointF(0, 0), frame(), m_ratio);
}

} // namespace mandalix
