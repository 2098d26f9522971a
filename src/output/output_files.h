// Files written together, all or none: each is written aside (QSaveFile) and they are
// renamed into place only once every one of them was written in full and flushed to the
// disk, so a failure leaves no partial file and every existing file as it was. The
// renames run back to back with the ending signals held off, so a kill does not leave
// half of the set replaced. Only regular files are
// replaced; the path "-" means standard output, written last and not atomically. One
// owner, one thread. Failures come back as values with the path and the system's reason.
#pragma once

#include "base/result.h"
#include "output/indexed_png.h"

#include <QByteArray>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace mandalix {

// Resolution written into the headers of the images, so files do not depend on the
// machine (96 dots per inch).
inline constexpr int kOutputDotsPerMeter = 3780;

// The path that names standard output.
inline constexpr char kStandardOutput[] = "-";

using WriteResult = Result<>;

// Whether a file could be written at `path` now: standard output, or a path whose folder
// exists and is writable and that names no folder, device, FIFO or link to one. The write
// itself still decides; this only lets a long job fail before it starts. `verb` as in
// OutputFiles.
WriteResult checkOutputPath(const QString& path, const QString& verb = QStringLiteral("write"));

// Whether the paths name distinct files: two outputs that are one file, by the same
// path, through a link or as hard links of one file, would overwrite each other. The
// failure names the later path and the earlier one.
WriteResult checkDistinctOutputs(const QStringList& paths, const QString& verb = QStringLiteral("write"));

class OutputFiles {
public:
    // Failures read `Could not <verb> "<path>": <reason>`.
    explicit OutputFiles(QString verb = QStringLiteral("write")) : m_verb(std::move(verb)) { }
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;
    // Files added but not committed are removed.
    ~OutputFiles();

    // Writes the image aside as `format` ("png" or "bmp"); a PNG also carries `text`
    // under `textKey` when the key is not empty. An 8-bit indexed PNG is
    // written by writeIndexedPng on every core. Pass the image by move: it is stamped
    // with the resolution in place, and a shared one would be copied whole.
    WriteResult addImage(const QString& path, QImage image, const char* format,
                         const QString& textKey = {}, const QString& text = {});

    // Writes `rows` aside as a PNG carrying `text` under `textKey` (when not empty),
    // deflated on every core.
    WriteResult addPng(const QString& path, const PngRows& rows, const QString& textKey, const QString& text);

    // Writes the bytes aside.
    WriteResult addText(const QString& path, const QByteArray& bytes);

    // Opens a file aside for the caller to write into piece by piece, seeking back as it
    // likes: a video as it is encoded. The device belongs to this and lives until commit
    // or destruction; a write into it that failed is answered by commit. Not for
    // standard output.
    Result<QIODevice*> addStream(const QString& path);

    // Flushes every file written aside to the disk, then, only when all of them got
    // there, renames them into place one after another with SIGTERM, SIGINT and SIGHUP
    // held off on the calling thread (a signal that came meanwhile ends the program
    // after the last rename), then writes what goes to standard output. When an add or
    // a flush failed, renames none and answers that failure. Stops at the first rename
    // that fails; the files renamed before it stay.
    WriteResult commit();

private:
    QSaveFile* open(const QString& path, WriteResult& result);
    // Opens the path (or standard output's buffer) and lets `write` fill it; `write` sets
    // its flag when it wrote the whole and answers the reason when not.
    WriteResult addWritten(const QString& path, const std::function<QString(QIODevice&, bool&)>& write);
    WriteResult fail(const QString& path, const QString& reason);
    WriteResult failFile(QSaveFile& file, const QString& fallbackReason);

    QString m_verb;
    std::vector<std::unique_ptr<QSaveFile>> m_files;
    QByteArray m_standardOutput;
    bool m_hasStandardOutput = false;
    WriteResult m_firstFailure = WriteResult::success();
};

} // namespace mandalix
