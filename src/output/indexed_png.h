// Writes a large picture as a PNG, 8-bit indexed with a palette or 8-bit RGB made row by
// row, without a second copy of its pixels: the rows are deflated in independent bands on the shared pool, a batch at a time, and written to
// the device in order, so only a few compressed bands are held beside the image. The
// stream is one zlib stream (bands ended on a byte boundary, their checksums combined), so
// any PNG reader reads the same pixels. Any thread may call; no thread is started.
// Failures of the device come back as a reason.
#pragma once

#include "base/result.h"

#include <QImage>
#include <QList>
#include <QRgb>
#include <QSize>
#include <QIODevice>
#include <QString>

#include <functional>

namespace mandalix {

// Rows deflated as one band.
inline constexpr int kPngBandRows = 64;

// A picture's rows as a PNG takes them: 8-bit palette indices with `palette` (at most 256
// entries), or 8-bit RGB, three bytes a pixel, when `palette` is empty. `row` answers the
// bytes of one row: its own, or `scratch` (room for one row) filled with them. It is
// called on the pool's threads, several rows at once, and must only read shared data.
struct PngRows {
    QSize size;
    QList<QRgb> palette;
    std::function<const unsigned char*(int row, unsigned char* scratch)> row;
};

// The rows of an 8-bit indexed `image`, which must outlive them.
PngRows indexedRows(const QImage& image);

// Writes `rows` to `device` as a PNG, the bands deflated on `threads` threads of the
// shared pool, with the resolution `dotsPerMeter` and, when `textKey` is not empty,
// `text` as a compressed text chunk.
Result<> writePngRows(QIODevice& device, const PngRows& rows, int dotsPerMeter, const QString& textKey,
                      const QString& text, int threads);

// Writes `image` (QImage::Format_Indexed8, at most 256 colours) to `device` as a PNG
// with its colour table, the resolution `dotsPerMeter` and, when `textKey` is not
// empty, `text` as a compressed text chunk, on `threads` threads (at least 1). When !ok,
// the message says why the device took less than it was given.
Result<> writeIndexedPng(QIODevice& device, const QImage& image, int dotsPerMeter, const QString& textKey,
                         const QString& text, int threads);

} // namespace mandalix
