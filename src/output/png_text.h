// Finds one text of a PNG by its key, walking the file's chunks without decoding the
// image, so a text anywhere in the file is found and the image library never speaks.
// Pure on the device it is given; any thread. A damaged or truncated file, or one that
// lacks the text, comes back as a failure naming the cause.
#pragma once

#include "base/result.h"
#include "output/png_chunks.h"

#include <QByteArray>
#include <QIODevice>

namespace mandalix {

// The text stored under `key` (a tEXt, zTXt or iTXt chunk) as UTF-8, from a device
// positioned at the start of a PNG. A text longer than `maxBytes`, compressed or not, is
// refused, and so is a file whose text is not among its first kPngMaxChunksWalked chunks,
// lies behind more than kPngMaxTextBytesWalked of other texts, or behind a chunk of no
// valid type (the walk of png_chunks.h). Failures name the cause: "the PNG is truncated",
// "the PNG's zTXt chunk is damaged (CRC error)", "the PNG carries no "mandalix-params" text".
Result<QByteArray> pngText(QIODevice& device, const QByteArray& key, qint64 maxBytes);

} // namespace mandalix
