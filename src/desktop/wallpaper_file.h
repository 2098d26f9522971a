// The wallpaper's file: the picture on show painted at a screen's size in device pixels,
// framed as Save as frames that size, written as a picture's PNG (carrying its record)
// into the data folder's "wallpapers" folder, which keeps the newest few. Plain functions
// on values for the wallpaper's own thread (and tests); painting uses the shared pool.
// Failures come back as values with a sentence naming the path.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>

namespace mandalix {

// How many wallpaper files the folder keeps; older ones are removed.
inline constexpr int kWallpapersKept = 10;

// What a wallpaper is made of: copies taken on the thread that asked.
struct WallpaperPicture {
    PictureRecord record; // the picture on show
    QImage shown;         // its 453 x 453 picture as shown, for the pixels that failed
    QSize screenPx;       // the screen's size in device pixels
    int threads = 1;
};

// "mandalix/wallpapers" in the user's data folder ($XDG_DATA_HOME, ~/.local/share), beside
// the history; $MANDALIX_WALLPAPER_DIR when set.
QString wallpaperFolderFromEnvironment();

// "<picture name>-<width>x<height>.png".
QString wallpaperFileName(const QString& imeslike, QSize size);
// Whether a file name is of that form: only such files are ever removed.
bool isWallpaperFileName(const QString& fileName);

struct WallpaperFile {
    QString path;
    bool isNew = false; // no file had its name before
};

// Paints the picture at the screen's size and writes it atomically into `folder` (made
// when missing). A file of the same name is replaced whole. When !ok nothing in the
// folder changed: Could not write "/x/wallpapers/T2026...-1920x1080.png": Permission denied
Result<WallpaperFile> writeWallpaperFile(const QString& folder, const WallpaperPicture& picture,
                                         const std::atomic<bool>& cancel);

// Takes back a file that did not become the wallpaper: removed when it was new, so a
// failure leaves the folder as it was.
void withdrawWallpaperFile(const WallpaperFile& file);

// Removes the oldest wallpaper files of `folder` (by modification time, then name) beyond
// the newest `kept`; files of other names are left alone.
void keepNewestWallpapers(const QString& folder, int kept = kWallpapersKept);

} // namespace mandalix
