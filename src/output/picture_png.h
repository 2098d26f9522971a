// A picture's PNG: the pixels with the picture's record in the "mandalix-params" text
// chunk, as Save as and the renderer write it and Open reads it back. Reading and
// writing are plain functions on values, safe on any thread (one file at a time). A file
// that cannot be used, or a write that failed, comes back as a value with a sentence
// naming the path and the reason; nothing throws.
#pragma once

#include "base/result.h"
#include "generator/picture_frame.h"
#include "output/output_files.h"
#include "state/picture_record.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>

namespace mandalix {

// The largest PNG Open reads: far above any picture of the largest size.
inline constexpr qint64 kPicturePngMaxBytes = qint64{1} << 30;
// The largest PNG of the window's size whose pixels Open decodes: a 453 x 453 picture
// takes well under a MiB even uncompressed; more is padding the decoder would walk.
inline constexpr qint64 kWindowPicturePngMaxBytes = qint64{16} << 20;

struct PictureFile {
    PictureRecord record;
    // The pixels as saved when the picture has the window's size, 453 x 453, in
    // Format_RGB32; null for any other size, which is painted again from the record.
    QImage pixels;
    QSize size;
};
// When !ok: Could not open "/tmp/a.png": the PNG is cut short
using PictureRead = Result<PictureFile>;

// Reads a picture's PNG: the record (every field present and a number where one is
// due, the generation type 1 to 4) and, at the window's size, the pixels. Refuses a file
// that is not a PNG, is larger than kPicturePngMaxBytes or a side of kMaxPictureSidePx,
// lacks the record (or does not carry it within the first chunks: see pngText), or is
// cut short, and one of the window's size larger than kWindowPicturePngMaxBytes. The
// size comes from the file's header and the record from a bounded walk of its chunks,
// so no file makes the read take long; only a picture of the window's size is decoded.
PictureRead readPicturePng(const QString& path);

struct PictureWritten {
    bool isCancelled = false; // when !ok: stopped by the flag, no file was left, no message
};
// When !ok and not cancelled: Could not write "/tmp/a.png": reason
using PictureWrite = Result<PictureWritten>;
inline PictureWrite cancelledWrite() { return PictureWrite::failure({}, {true}); }

// Adds `image` to `files` as a picture's PNG carrying `record` in its text chunk, as the
// renderer and Save as write it: an 8-bit indexed image through writeIndexedPng, any
// other through the image writer. Pass the image by move, as to OutputFiles::addImage.
WriteResult addPicturePng(OutputFiles& files, const QString& path, QImage image, const PictureRecord& record);

// The same for a picture made row by row (see PngRows).
WriteResult addPicturePng(OutputFiles& files, const QString& path, const PngRows& rows, const PictureRecord& record);

// Writes `image` as a picture's PNG on its own, atomically through OutputFiles: written
// aside and renamed over the path only when whole. `cancel` is looked at before the
// write and again before the rename, so a failure or a cancel leaves no partial file and
// any old file as it was.
PictureWrite writePicturePng(const QString& path, QImage image, const PictureRecord& record,
                             const std::atomic<bool>& cancel);
PictureWrite writePicturePng(const QString& path, const PngRows& rows, const PictureRecord& record,
                             const std::atomic<bool>& cancel);

} // namespace mandalix
