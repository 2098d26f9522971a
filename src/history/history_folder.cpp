#include "history/history_folder.h"

#include "output/params_file.h"
#include "history/kept_png_check.h"
#include "output/png_chunks.h"
#include "surface/surface_sizes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mandalix {

namespace {

KeptRead skipped(const QString& path, const QString& reason)
{
    return KeptRead::failure(QStringLiteral("Skipped \"%1\": %2").arg(QDir::toNativeSeparators(path), reason));
}

struct RegularFile {
    QByteArray bytes;
    QDateTime modified; // in UTC: a local time would read the time zone on the history's thread
};

// Reads a regular file of at most kKeptFileMaxBytes whole, once; when !ok, why not.
// Opened without waiting, then looked at: a FIFO named like a picture never blocks the
// reader, and nothing but a regular file is read.
Result<RegularFile> readRegularFile(const QString& path)
{
    using Read = Result<RegularFile>;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Read::failure(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Read::failure(QStringLiteral("not a picture kept by mandalix (not a regular file)"));
    }
    if (status.st_size > kKeptFileMaxBytes) {
        ::close(fd);
        return Read::failure(QStringLiteral("too large for a kept picture"));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Read::failure(file.errorString());
    }
    RegularFile read;
    read.bytes = file.read(kKeptFileMaxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Read::failure(file.errorString());
    if (read.bytes.size() > kKeptFileMaxBytes)
        return Read::failure(QStringLiteral("too large for a kept picture"));
    read.modified = QDateTime::fromMSecsSinceEpoch(qint64{status.st_mtim.tv_sec} * 1000
                                                       + status.st_mtim.tv_nsec / 1000000,
                                                   Qt::UTC);
    return Read::success(std::move(read));
}

} // namespace

QString historyFolderFromEnvironment()
{
    const QString chosen = qEnvironmentVariable("MANDALIX_HISTORY_DIR");
    if (!chosen.isEmpty())
        return chosen;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = data + QStringLiteral("/mandalix/history");
    const QString earlier = data + QStringLiteral("/mandalix/mandalix/history");
    const QFileInfo target(folder);
    if (!target.exists() && !target.isSymLink() && QFileInfo(earlier).isDir()) {
        // Moved whole, once; should it fail, the pictures stay where they were.
        if (QDir().mkpath(target.absolutePath()) && QDir().rename(earlier, folder))
            QDir().rmdir(data + QStringLiteral("/mandalix/mandalix"));
    }
    return folder;
}

QString keptPictureName(const QString& fileName)
{
    QString stem = fileName.chopped(4);
    const qsizetype dash = stem.indexOf(u'-');
    return dash < 0 ? stem : stem.left(dash);
}

bool isKeptFileName(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^T[0-9]{14}(-[1-9][0-9]{0,3})?\\.png$"));
    return pattern.match(fileName).hasMatch();
}

KeptRead readKeptPicture(const QString& path)
{
    const QFileInfo info(path);
    if (!isKeptFileName(info.fileName()))
        return skipped(path, QStringLiteral("not a picture kept by mandalix"));
    Result<RegularFile> file = readRegularFile(path);
    if (!file.ok)
        return skipped(path, file.message);
    QByteArray& bytes = file.value.bytes;
    // Checked here, so the PNG reader never complains of a file that is none.
    if (!bytes.startsWith(QByteArrayView(kPngSignature, kPngSignatureBytes)))
        return skipped(path, QStringLiteral("not a picture kept by mandalix (no PNG)"));
    if (const Result<> checked = checkKeptPng(bytes); !checked.ok)
        return skipped(path, QStringLiteral("damaged: %1").arg(checked.message));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device, "png");
    if (reader.size() != QSize(kPictureSizePx, kPictureSizePx))
        return skipped(path, QStringLiteral("not a picture kept by mandalix (no PNG of %1 x %1 pixels)")
                                 .arg(kPictureSizePx));
    const QByteArray json = reader.text(QLatin1String(kParamsTextKey)).toUtf8();
    if (json.isEmpty())
        return skipped(path, QStringLiteral("not a picture kept by mandalix (no \"%1\" text)")
                                 .arg(QLatin1String(kParamsTextKey)));
    const ParamsRead params = paramsFromJson(json);
    if (!params.ok)
        return skipped(path, QStringLiteral("damaged: %1").arg(params.message));
    if (params.value.imeslike != keptPictureName(info.fileName()))
        return skipped(path, QStringLiteral("its picture is named %1").arg(params.value.imeslike));

    QImage pixels;
    if (!reader.read(&pixels))
        return skipped(path, QStringLiteral("damaged: %1").arg(reader.errorString()));
    KeptPicture read;
    read.record = params.value;
    read.pixels = pixels.convertToFormat(QImage::Format_RGB32);
    read.keptAt = file.value.modified;
    return KeptRead::success(std::move(read));
}

bool isNewer(const HistoryEntry& a, const HistoryEntry& b)
{
    if (a.keptAt != b.keptAt)
        return a.keptAt > b.keptAt;
    return a.path > b.path;
}

QString keptFolderFor(const QString& folder, KeptOrigin origin)
{
    return origin == KeptOrigin::SlideShow ? QDir(folder).filePath(QLatin1String(kSlideShowFolder))
                                           : folder;
}

bool isWrittenAside(const QString& fileName)
{
    return fileName.startsWith(QLatin1String(kKeptAsidePrefix));
}

namespace {

// Adds the pictures of one folder to `scan`; every other entry gets its line, but the
// slide show's subfolder and the files other writers are writing aside.
void scanOneFolder(const QString& folder, KeptOrigin origin, HistoryScan& scan)
{
    const QDir dir(folder);
    const auto filter = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const QFileInfo& file : dir.entryInfoList(filter, QDir::Name)) {
        if (isWrittenAside(file.fileName()))
            continue;
        if (origin == KeptOrigin::Window && file.fileName() == QLatin1String(kSlideShowFolder)
            && file.isDir() && !file.isSymLink())
            continue;
        KeptRead read = readKeptPicture(file.filePath());
        if (!read.ok) {
            scan.skipped << read.message;
            continue;
        }
        scan.entries.push_back({file.filePath(), std::move(read.value.record), thumbnailOf(read.value.pixels),
                                read.value.keptAt, origin});
    }
}

} // namespace

HistoryScan scanHistoryFolder(const QString& folder)
{
    HistoryScan scan;
    const QFileInfo info(folder);
    if (!info.exists())
        return scan;
    if (!info.isDir()) {
        scan.skipped << QStringLiteral("Cannot keep pictures in \"%1\": it is not a folder")
                            .arg(QDir::toNativeSeparators(folder));
        return scan;
    }
    scanOneFolder(folder, KeptOrigin::Window, scan);
    const QString slideShow = keptFolderFor(folder, KeptOrigin::SlideShow);
    if (QFileInfo(slideShow).isDir())
        scanOneFolder(slideShow, KeptOrigin::SlideShow, scan);
    std::sort(scan.entries.begin(), scan.entries.end(), isNewer);
    return scan;
}

QImage thumbnailOf(const QImage& pixels)
{
    // Each thumbnail pixel is the mean of the pixels it covers. Done here rather than by
    // QImage::scaled, whose smooth scaling hands work to Qt's own thread pool.
    const QImage source = pixels.convertToFormat(QImage::Format_RGB32);
    const int longer = std::max(source.width(), source.height());
    if (longer == 0)
        return {};
    const int width = std::max(1, source.width() * kThumbnailPx / longer);
    const int height = std::max(1, source.height() * kThumbnailPx / longer);
    QImage thumbnail(width, height, QImage::Format_RGB32);
    for (int ty = 0; ty < height; ++ty) {
        const int top = ty * source.height() / height;
        const int bottom = std::max(top + 1, (ty + 1) * source.height() / height);
        auto* out = reinterpret_cast<QRgb*>(thumbnail.scanLine(ty));
        for (int tx = 0; tx < width; ++tx) {
            const int left = tx * source.width() / width;
            const int right = std::max(left + 1, (tx + 1) * source.width() / width);
            long long red = 0, green = 0, blue = 0;
            for (int y = top; y < bottom; ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
                for (int x = left; x < right; ++x) {
                    red += qRed(row[x]);
                    green += qGreen(row[x]);
                    blue += qBlue(row[x]);
                }
            }
            const long long n = static_cast<long long>(bottom - top) * (right - left);
            out[tx] = qRgb(static_cast<int>(red / n), static_cast<int>(green / n), static_cast<int>(blue / n));
        }
    }
    return thumbnail;
}

} // namespace mandalix
