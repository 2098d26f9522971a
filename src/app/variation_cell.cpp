#include "app/variation_cell.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace mandalix {

namespace {

constexpr int kFramePx = 3;
const QColor kWaiting(40, 40, 40);
const QColor kParentFrame(Qt::white);
const QColor kSelectedFrame(255, 210, 0);

} // namespace

VariationCell::VariationCell(int index, QWidget* parent)
    : QWidget(parent)
    , m_index(index)
{
    setObjectName(QStringLiteral("VariationCell%1").arg(index));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize VariationCell::devicePixelSize() const
{
    const qreal ratio = devicePixelRatioF();
    return QSize(qRound(width() * ratio), qRound(height() * ratio));
}

void VariationCell::setPicture(const QImage& image, bool failsEverywhere)
{
    m_image = image;
    m_image.setDevicePixelRatio(devicePixelRatioF());
    m_failsEverywhere = failsEverywhere;
    setAccessibleDescription(failsEverywhere ? QStringLiteral("fails everywhere") : QString());
    update();
}

void VariationCell::clearPicture()
{
    m_image = QImage();
    m_failsEverywhere = false;
    update();
}

void VariationCell::setParentMark(bool isParent)
{
    m_isParent = isParent;
    setAccessibleName(isParent ? QStringLiteral("Parent") : QStringLiteral("Variation %1").arg(m_index + 1));
    update();
}

void VariationCell::setSelected(bool isSelected)
{
    m_isSelected = isSelected;
    update();
}

void VariationCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_image.isNull())
        painter.fillRect(rect().adjusted(kFramePx, kFramePx, -kFramePx, -kFramePx), kWaiting);
    else
        painter.drawImage(QPointF(0, 0), m_image);
    if (m_failsEverywhere) {
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("no pixel could be painted"));
    }
    if (m_isParent || m_isSelected) {
        QPen pen(m_isSelected ? kSelectedFrame : kParentFrame, kFramePx);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const qreal inset = kFramePx / 2.0;
        painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
    }
}

void VariationCell::mouseReleaseEvent(QMouseEvent* event)
{
    if (std::exchange(m_isEndingDoubleClick, false))
        return;
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(m_index);
}

void VariationCell::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_isEndingDoubleClick = true;
    emit doubleClicked(m_index);
}

void VariationCell::contextMenuEvent(QContextMenuEvent* event)
{
    emit menuAsked(m_index, event->globalPos());
}

} // namespace mandalix
