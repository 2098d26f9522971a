#include "program/history_folder.h"

#include "output/params_file.h"
#include "surface/surface_sizes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace mandalix {

namespace {

KeptRead skipped(const QString& path, const QString& reason)
{
    KeptRead read;
    read.error = QStringLiteral("Skipped \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
    return read;
}

// Why the chunks of a PNG do not lie within its bytes, or empty when they do: each
// chunk's length, type, data and checksum, up to IEND. Checked before the image library
// reads the file, which allocates whatever a chunk's length says.
QString chunkDamage(const QByteArray& png)
{
    qsizetype at = 8;
    for (;;) {
        if (png.size() - at < 8)
            return QStringLiteral("the file ends before its last chunk");
        const auto* length = reinterpret_cast<const uchar*>(png.constData() + at);
        const quint64 dataBytes = quint64{length[0]} << 24 | quint64{length[1]} << 16
            | quint64{length[2]} << 8 | quint64{length[3]};
        if (dataBytes + 12 > quint64(png.size() - at))
            return QStringLiteral("a chunk runs past the end of the file");
        if (png.mid(at + 4, 4) == "IEND")
            return {};
        at += static_cast<qsizetype>(dataBytes) + 12;
    }
}

// The name without its "-2" and ".png", which the record's name must match.
QString pictureNameOf(const QString& fileName)
{
    QString stem = fileName.chopped(4);
    const qsizetype dash = stem.indexOf(u'-');
    return dash < 0 ? stem : stem.left(dash);
}

} // namespace

QString historyFolderFromEnvironment()
{
    const QString chosen = qEnvironmentVariable("MANDALIX_HISTORY_DIR");
    if (!chosen.isEmpty())
        return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/history");
}

bool isKeptFileName(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^T[0-9]{14}(-[1-9][0-9]{0,3})?\\.png$"));
    return pattern.match(fileName).hasMatch();
}

KeptRead readKeptPicture(const QString& path)
{
    const QFileInfo info(path);
    if (!isKeptFileName(info.fileName()) || !info.isFile())
        return skipped(path, QStringLiteral("not a picture kept by mandalix"));
    if (info.size() > kKeptFileMaxBytes)
        return skipped(path, QStringLiteral("too large for a kept picture"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return skipped(path, file.errorString());
    // Read once, whole: the chunks checked are the chunks decoded.
    QByteArray bytes = file.read(kKeptFileMaxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return skipped(path, file.errorString());
    if (bytes.size() > kKeptFileMaxBytes)
        return skipped(path, QStringLiteral("too large for a kept picture"));
    // Checked here, so the PNG reader never complains of a file that is none.
    if (!bytes.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)))
        return skipped(path, QStringLiteral("not a picture kept by mandalix (no PNG)"));
    const QString damage = chunkDamage(bytes);
    if (!damage.isEmpty())
        return skipped(path, QStringLiteral("damaged: %1").arg(damage));
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
    if (params.value.imeslike != pictureNameOf(info.fileName()))
        return skipped(path, QStringLiteral("its picture is named %1").arg(params.value.imeslike));

    QImage pixels;
    if (!reader.read(&pixels))
        return skipped(path, QStringLiteral("damaged: %1").arg(reader.errorString()));
    KeptRead read;
    read.ok = true;
    read.record = params.value;
    read.pixels = pixels.convertToFormat(QImage::Format_RGB32);
    return read;
}

bool isNewer(const HistoryEntry& a, const HistoryEntry& b)
{
    if (a.record.moment != b.record.moment)
        return a.record.moment > b.record.moment;
    return a.path > b.path;
}

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
    const QDir dir(folder);
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        KeptRead read = readKeptPicture(file.filePath());
        if (!read.ok) {
            scan.skipped << read.error;
            continue;
        }
        scan.entries.push_back({file.filePath(), std::move(read.record), thumbnailOf(read.pixels)});
    }
    std::sort(scan.entries.begin(), scan.entries.end(), isNewer);
    return scan;
}

QString keptPathFor(const QString& folder, const PictureRecord& record,
                    const std::vector<HistoryEntry>& entries)
{
    const QDir dir(folder);
    for (int k = 1; k <= 9999; ++k) {
        const QString name = k == 1 ? record.imeslike + QStringLiteral(".png")
                                    : QStringLiteral("%1-%2.png").arg(record.imeslike).arg(k);
        const QString path = dir.filePath(name);
        const auto own = std::find_if(entries.begin(), entries.end(),
                                      [&](const HistoryEntry& e) { return e.path == path; });
        if (own != entries.end()) {
            if (own->record.moment == record.moment && own->record.seed == record.seed)
                return path;
            continue;
        }
        if (!QFileInfo::exists(path))
            return path;
    }
    return {};
}

WriteResult writeKeptPicture(const QString& path, const QImage& pixels, const PictureRecord& record)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return {false, QStringLiteral("Could not write \"%1\": cannot make the folder")
                           .arg(QDir::toNativeSeparators(path))};
    OutputFiles files;
    const WriteResult added = files.addImage(path, pixels, "png", QLatin1String(kParamsTextKey),
                                             paramsChunkText(record));
    if (!added.ok)
        return added;
    return files.commit();
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
