// Files written together, all or none: each is written aside (QSaveFile) and they are
// renamed into place only once every one of them was written in full, so a failure
// leaves no partial file and every existing file as it was. One owner, one thread.
// Failures come back as values with the path and the system's reason.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSaveFile>
#include <QString>

#include <memory>
#include <vector>

namespace mandalix {

// Resolution written into the headers of the images, so files do not depend on the
// machine (96 dots per inch).
inline constexpr int kOutputDotsPerMeter = 3780;

struct [[nodiscard]] WriteResult {
    bool ok = false;
    QString message; // when !ok: Could not write "/tmp/a.png": Permission denied
};

class OutputFiles {
public:
    OutputFiles() = default;
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;
    // Files added but not committed are removed.
    ~OutputFiles();

    // Writes the image aside as `format` ("png" or "bmp"); a PNG also carries `text`
    // under `textKey` when the key is not empty. An 8-bit indexed PNG is written by
    // writeIndexedPng on every core.
    WriteResult addImage(const QString& path, const QImage& image, const char* format,
                         const QString& textKey = {}, const QString& text = {});

    // Writes the bytes aside.
    WriteResult addText(const QString& path, const QByteArray& bytes);

    // Renames every file written aside into place, replacing files of the same names.
    // When an add failed, renames none and answers that failure. Stops at the first
    // rename that fails; the files renamed before it stay.
    WriteResult commit();

private:
    QSaveFile& open(const QString& path, WriteResult& result);
    WriteResult fail(QSaveFile& file, const QString& reason);

    std::vector<std::unique_ptr<QSaveFile>> m_files;
    WriteResult m_firstFailure{true, {}};
};

} // namespace mandalix
