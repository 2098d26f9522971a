#include "app/preview_view.h"

#include <QPainter>
#include <QWheelEvent>

namespace mandalix {

PreviewView::PreviewView(QSize pictureSize, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("EditorPreview"));
    setAccessibleName(QStringLiteral("Preview of the edited picture"));
    setFixedSize(pictureSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PreviewView::devicePixelSize() const
{
    const qreal ratio = devicePixelRatioF();
    return QSize(qRound(width() * ratio), qRound(height() * ratio));
}

void PreviewView::setPicture(const QImage& image)
{
    m_image = image;
    m_image.setDevicePixelRatio(devicePixelRatioF());
    update();
}

void PreviewView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_image.isNull())
        painter.drawImage(QPointF(0, 0), m_image);
}

void PreviewView::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0)
        emit zoomAsked(steps);
    event->accept();
}

} // namespace mandalix
