#include "surface/surface.h"

#include "surface/interface_font.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace mandalix {

Surface::Surface(int width, int height, Colour backColour)
    : m_width(width)
    , m_height(height)
    , m_backColour(backColour)
    , m_pixels(static_cast<std::size_t>(width) * height, toArgb(backColour))
{
}

void Surface::Cls()
{
    std::fill(m_pixels.begin(), m_pixels.end(), toArgb(m_backColour));
    m_isChanged = true;
    m_currentX = 0;
    m_currentY = 0;
}

void Surface::Line(int x1, int y1, int x2, int y2, Colour colour)
{
    // Bresenham: every step moves one pixel along the longer axis.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        PSet(x1, y1, colour);
        if (x1 == x2 && y1 == y2)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x1 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y1 += sy;
        }
    }
}

void Surface::Print(const QString& text)
{
    QFont font = interfaceFont();
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    {
        // Paints straight into the raster; the image only borrows the pixels.
        QImage target(reinterpret_cast<uchar*>(m_pixels.data()), m_width, m_height,
                      m_width * 4, QImage::Format_RGB32);
        QPainter painter(&target);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 0));
        painter.drawText(QPointF(m_currentX, m_currentY + metrics.ascent()), text);
    }
    m_isChanged = true;
    m_currentX = 0;
    m_currentY += metrics.height();
}

QImage Surface::image() const
{
    QImage copy(m_width, m_height, QImage::Format_RGB32);
    for (int y = 0; y < m_height; ++y)
        std::copy_n(m_pixels.data() + static_cast<std::size_t>(y) * m_width, m_width,
                    reinterpret_cast<std::uint32_t*>(copy.scanLine(y)));
    return copy;
}

} // namespace mandalix
