// The folder of kept pictures: one PNG per picture, named after it, holding its pixels
// and its record in the "mandalix-params" text chunk. Files the program did not write,
// or that are damaged, are told apart and left alone: never read as pictures, never
// counted, never removed. Pure functions on the folder, for the history's own thread
// (and tests); failures come back as values with a sentence naming the path.
#pragma once

#include "output/output_files.h"
#include "state/picture_record.h"
#include "undo/session.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace mandalix {

// How many pictures made in the window the folder keeps; older ones are removed.
inline constexpr int kHistoryKept = 200;
// How many pictures of slide shows it keeps, in a folder of their own, apart from the
// window's: a long slide show never pushes out a picture the user made.
inline constexpr int kSlideShowKept = 50;
// The subfolder of the slide show's pictures.
inline constexpr char kSlideShowFolder[] = "slideshow";
// Larger files are no kept picture and are not read: a kept picture is well under this.
inline constexpr qint64 kKeptFileMaxBytes = 16 << 20;
// The longer side of a thumbnail.
inline constexpr int kThumbnailPx = 96;

// Where a picture was made: the window's pictures and the slide show's are kept and
// capped apart.
enum class KeptOrigin { Window, SlideShow };

// One kept picture, as the folder holds it.
struct HistoryEntry {
    QString path;
    PictureRecord record;
    QImage thumbnail;
    QDateTime keptAt; // when it was kept: the file's modification time
    KeptOrigin origin = KeptOrigin::Window;
};

// When !ok: Skipped "/h/x.png": not a picture kept by mandalix
using KeptRead = Result<KeptPicture>;

// Files being written aside, before their name is theirs, begin with this; a scan
// passes over them.
inline constexpr char kKeptAsidePrefix[] = ".keeping-";
bool isWrittenAside(const QString& fileName);

// The folder of kept pictures: $MANDALIX_HISTORY_DIR when set, else "mandalix/history"
// in the user's data folder ($XDG_DATA_HOME, ~/.local/share). A folder left by earlier
// versions at "mandalix/mandalix/history" is moved there once, when the new one does not
// exist yet; when both exist the old one is left alone.
QString historyFolderFromEnvironment();

// Reads a kept picture: a file of the program's naming, not too large, a PNG of
// Picture1's size carrying a record whose name is the file's.
KeptRead readKeptPicture(const QString& path);

// Whether a file name is of the program's naming: imeslike, a "-2", "-3", ... for a
// second picture begun in the same second, and ".png".
bool isKeptFileName(const QString& fileName);

// The picture's name a kept file name carries: without its "-2" and ".png". Requires
// isKeptFileName.
QString keptPictureName(const QString& fileName);

struct HistoryScan {
    std::vector<HistoryEntry> entries; // the program's own pictures, newest first
    QStringList skipped;               // one sentence for each file left alone
};

// Reads every entry of the folder and of its slide show subfolder (none when they do
// not exist). A folder that cannot be read gives one sentence in `skipped`; so does
// every entry named like a kept picture that is none (a FIFO, a folder, a link loop).
// Files another writer is writing aside are passed over in silence.
HistoryScan scanHistoryFolder(const QString& folder);

// Newest first: by when the picture was kept, then by path.
bool isNewer(const HistoryEntry& a, const HistoryEntry& b);

// The folder a picture of `origin` is kept in.
QString keptFolderFor(const QString& folder, KeptOrigin origin);

// Writes `png`, the picture's PNG carrying `record` (encodePicturePng), as it is into
// `folder` (made when missing) under the picture's name, or the first free "-2", "-3",
// ... when a file holds that name, and stamps the file as kept at `keptAt`. Never replaces a file: written aside, then linked to a name
// only when no file has it, so two programs sharing the folder keep both pictures. Only
// `replacing`, a file of this same picture, is written over. The path kept at.
Result<QString> writeKeptPicture(const QString& folder, const QByteArray& png,
                                 const PictureRecord& record, const QDateTime& keptAt,
                                 const QString& replacing = {});

// Removes the files written aside in the folders by programs that ended before giving
// them a name (their process is gone).
void removeAbandonedAside(const QString& folder);

// A thumbnail of a picture, kThumbnailPx on its longer side.
QImage thumbnailOf(const QImage& pixels);

} // namespace mandalix
