// Writes an 8-bit indexed image as a PNG with a palette, for the large pictures: the rows
// are deflated in independent bands on the shared pool, a batch at a time, and written to
// the device in order, so only a few compressed bands are held beside the image. The
// stream is one zlib stream (bands ended on a byte boundary, their checksums combined), so
// any PNG reader reads the same pixels. Any thread may call; no thread is started.
// Failures of the device come back as a reason.
#pragma once

#include "base/result.h"

#include <QImage>
#include <QIODevice>
#include <QString>

namespace mandalix {

// Rows deflated as one band.
inline constexpr int kPngBandRows = 64;

// Writes `image` (QImage::Format_Indexed8, at most 256 colours) to `device` as a PNG
// with its colour table, the resolution `dotsPerMeter` and, when `textKey` is not
// empty, `text` as a compressed text chunk, on `threads` threads (at least 1). When !ok,
// the message says why the device took less than it was given.
Result<> writeIndexedPng(QIODevice& device, const QImage& image, int dotsPerMeter, const QString& textKey,
                         const QString& text, int threads);

} // namespace mandalix
