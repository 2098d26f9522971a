// A picture's PNG in memory: the pixels with the picture's record in the "mandalix-params"
// text chunk, encoded once and handed on as bytes. An undo step holds Picture1 so, and
// the history writes those same bytes as the kept picture's file. A pure function on
// values, safe on any thread; an encoder that fails gives empty bytes.
#pragma once

#include "state/picture_record.h"

#include <QByteArray>
#include <QImage>

namespace mandalix {

// `pixels` as a PNG carrying `record`, at a low zlib level: several times faster than
// the default, little larger on pictures. Empty when the encoder failed.
QByteArray encodePicturePng(const QImage& pixels, const PictureRecord& record);

} // namespace mandalix
