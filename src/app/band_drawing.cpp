#include "app/band_drawing.h"

#include <algorithm>

namespace mandalix {

namespace {

// Qt's raster engine draws an image of fewer than 2^14 pixels on the calling thread (found
// by watching its threads: larger bands start them).
constexpr int kPixelsPerBand = (1 << 14) - 1;

} // namespace

void drawInBands(QPainter& painter, const QPointF& topLeft, const QImage& image, qreal ratio)
{
    if (image.isNull())
        return;
    const int rowsPerBand = std::max(1, kPixelsPerBand / image.width());
    for (int first = 0; first < image.height(); first += rowsPerBand) {
        const int rows = std::min(rowsPerBand, image.height() - first);
        const QRectF target(topLeft.x(), topLeft.y() + first / ratio, image.width() / ratio, rows / ratio);
        painter.drawImage(target, image, QRect(0, first, image.width(), rows));
    }
}

} // namespace mandalix
