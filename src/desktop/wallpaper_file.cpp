#include "desktop/wallpaper_file.h"

#include "export/picture_export.h"
#include "output/picture_png.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace mandalix {

QString wallpaperFolderFromEnvironment()
{
    const QString chosen = qEnvironmentVariable("MANDALIX_WALLPAPER_DIR");
    if (!chosen.isEmpty())
        return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/mandalix/wallpapers");
}

QString wallpaperFileName(const QString& imeslike, QSize size)
{
    return QStringLiteral("%1-%2x%3.png").arg(imeslike).arg(size.width()).arg(size.height());
}

bool isWallpaperFileName(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^T[0-9]{14}-[1-9][0-9]{0,4}x[1-9][0-9]{0,4}\\.png$"));
    return pattern.match(fileName).hasMatch();
}

Result<WallpaperFile> writeWallpaperFile(const QString& folder, const WallpaperPicture& picture,
                                         const std::atomic<bool>& cancel)
{
    using Written = Result<WallpaperFile>;
    WallpaperFile file;
    file.path = QDir(folder).filePath(wallpaperFileName(picture.record.imeslike, picture.screenPx));
    const QString problem = exportSizeProblem(picture.screenPx);
    if (!problem.isEmpty())
        return Written::failure(QStringLiteral("Could not paint the wallpaper: the screen is %1").arg(problem));
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return Written::failure(QStringLiteral("Could not write \"%1\": the folder cannot be made")
                                    .arg(QDir::toNativeSeparators(file.path)));
    if (const WriteResult checked = checkOutputPath(file.path); !checked.ok)
        return Written::failure(checked.message);
    file.isNew = !QFileInfo::exists(file.path);
    // Painted as Save as paints a picture of that size, the shorter side spanning the
    // window's picture and the longer showing more of the pattern on both ends.
    QImage image = paintExport(picture.record, picture.shown, picture.screenPx, picture.threads, cancel);
    if (cancel.load(std::memory_order_acquire))
        return Written::failure(QStringLiteral("The wallpaper was not made: the program is ending"));
    if (image.isNull())
        return Written::failure(QStringLiteral("Could not write \"%1\": not enough memory")
                                    .arg(QDir::toNativeSeparators(file.path)));
    OutputFiles files;
    WriteResult result = addPicturePng(files, file.path, std::move(image), picture.record);
    if (result.ok)
        result = files.commit();
    if (!result.ok)
        return Written::failure(result.message);
    return Written::success(file);
}

void withdrawWallpaperFile(const WallpaperFile& file)
{
    if (file.isNew)
        QFile::remove(file.path);
}

void keepNewestWallpapers(const QString& folder, int kept)
{
    QFileInfoList files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (isWallpaperFileName(info.fileName()) && !info.isSymLink())
            files << info;
    }
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const QDateTime aTime = a.lastModified().toUTC();
        const QDateTime bTime = b.lastModified().toUTC();
        return aTime != bTime ? aTime > bTime : a.fileName() > b.fileName();
    });
    for (qsizetype i = kept; i < files.size(); ++i)
        QFile::remove(files[i].filePath());
}

} // namespace mandalix
