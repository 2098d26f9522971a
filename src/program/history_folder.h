// The folder of kept pictures: one PNG per picture, named after it, holding its pixels
// and its record in the "mandalix-params" text chunk. Files the program did not write,
// or that are damaged, are told apart and left alone: never read as pictures, never
// counted, never removed. Pure functions on the folder, for the history's own thread
// (and tests); failures come back as values with a sentence naming the path.
#pragma once

#include "output/output_files.h"
#include "state/picture_record.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace mandalix {

// How many of its own pictures the folder keeps; older ones are removed.
inline constexpr int kHistoryKept = 200;
// Larger files are no kept picture and are not read: a kept picture is well under this.
inline constexpr qint64 kKeptFileMaxBytes = 16 << 20;
// The longer side of a thumbnail.
inline constexpr int kThumbnailPx = 96;

// One kept picture, as the folder holds it.
struct HistoryEntry {
    QString path;
    PictureRecord record;
    QImage thumbnail;
};

struct [[nodiscard]] KeptRead {
    bool ok = false;
    PictureRecord record;
    QImage pixels; // Format_RGB32, the size of Picture1
    QString error; // when !ok: Skipped "/h/x.png": not a picture kept by mandalix
};

// The folder of kept pictures: $MANDALIX_HISTORY_DIR when set, else "history" in the
// program's data folder.
QString historyFolderFromEnvironment();

// Reads a kept picture: a file of the program's naming, not too large, a PNG of
// Picture1's size carrying a record whose name is the file's.
KeptRead readKeptPicture(const QString& path);

// Whether a file name is of the program's naming: imeslike, a "-2", "-3", ... for a
// second picture begun in the same second, and ".png".
bool isKeptFileName(const QString& fileName);

struct HistoryScan {
    std::vector<HistoryEntry> entries; // the program's own pictures, newest first
    QStringList skipped;               // one sentence for each file left alone
};

// Reads every file of the folder (none when it does not exist). A folder that cannot
// be read gives one sentence in `skipped`.
HistoryScan scanHistoryFolder(const QString& folder);

// Newest first: by the moment the picture began, then by path.
bool isNewer(const HistoryEntry& a, const HistoryEntry& b);

// The path a picture is kept at: its own name, unless a file of that name holds another
// picture or is not the program's; then the first free "-2", "-3", ... `entries` are the
// folder's own pictures. Empty when every such name is taken.
QString keptPathFor(const QString& folder, const PictureRecord& record,
                    const std::vector<HistoryEntry>& entries);

// Writes the pixels and the record atomically (written aside, then renamed), making the
// folder when missing.
WriteResult writeKeptPicture(const QString& path, const QImage& pixels, const PictureRecord& record);

// A thumbnail of a picture, kThumbnailPx on its longer side.
QImage thumbnailOf(const QImage& pixels);

} // namespace mandalix
