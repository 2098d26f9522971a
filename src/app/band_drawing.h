// Draws a picture on a widget in bands of rows, each small enough that Qt's raster engine
// draws it on the calling thread: it hands larger images to a pool of threads of its own,
// which would come and go beside the program's own fixed set. GUI thread; nothing fails.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>

namespace mandalix {

// Draws `image` with its top left at `topLeft`, each image pixel on one device pixel of a
// painter whose device-pixel ratio is `ratio`.
void drawInBands(QPainter& painter, const QPointF& topLeft, const QImage& image, qreal ratio = 1);

} // namespace mandalix
