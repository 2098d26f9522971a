// Finds one text of a PNG by its key, walking the file's chunks without decoding the
// image, so a text anywhere in the file is found and the image library never speaks.
// Pure on the device it is given; any thread. A damaged or truncated file, or one that
// lacks the text, comes back as a failure naming the cause.
#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QIODevice>

namespace mandalix {

// The eight bytes that begin every PNG.
inline constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
// The most chunks walked looking for a text. A picture's PNG carries its text within its
// first few chunks, and even a large picture of many image chunks has far fewer; a file
// of millions of empty chunks is refused after a moment's reading, not a minute's.
inline constexpr int kPngMaxChunksWalked = 1 << 16;
// The most bytes of other texts read on the way to the one looked for.
inline constexpr qint64 kPngMaxTextBytesWalked = qint64{16} << 20;

// The text stored under `key` (a tEXt, zTXt or iTXt chunk) as UTF-8, from a device
// positioned at the start of a PNG. A text longer than `maxBytes`, compressed or not, is
// refused, and so is a file whose text is not among its first kPngMaxChunksWalked chunks,
// lies behind more than kPngMaxTextBytesWalked of other texts, or behind a chunk of no
// valid type. Failures name the cause: "the PNG is
// truncated", "the PNG's zTXt chunk is damaged (CRC error)", "the PNG carries no
// "mandalix-params" text".
Result<QByteArray> pngText(QIODevice& device, const QByteArray& key, qint64 maxBytes);

} // namespace mandalix
