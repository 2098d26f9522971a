#include "output/picture_png.h"

#include "output/output_files.h"
#include "output/params_file.h"
#include "surface/surface_sizes.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cmath>

namespace mandalix {

namespace {

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
// A PNG ends with its empty IEND chunk; a file cut short does not.
constexpr char kPngEnd[] = "\0\0\0\0IEND\xae\x42\x60\x82";
constexpr qint64 kPngEndBytes = sizeof kPngEnd - 1;

PictureRead refused(const QString& path, const QString& reason)
{
    PictureRead read;
    read.error = QStringLiteral("Could not open \"%1\": %2").arg(path, reason);
    return read;
}

// The reason a file is no picture's PNG, judged by its size and its two ends; empty
// when it may be one.
QString problemOfFile(QFile& file)
{
    if (file.size() > kPicturePngMaxBytes)
        return QStringLiteral("the file is larger than %1 MiB").arg(kPicturePngMaxBytes >> 20);
    if (file.peek(8) != QByteArray(kPngSignature, 8))
        return QStringLiteral("not a PNG file");
    if (!file.seek(file.size() - kPngEndBytes)
        || file.read(kPngEndBytes) != QByteArray(kPngEnd, kPngEndBytes))
        return QStringLiteral("the PNG is cut short");
    return {};
}

// The picture's size from its header, the first chunk; invalid when that is no IHDR.
// The image reader would first walk every chunk before the image data for it.
QSize sizeOfPng(QFile& file)
{
    if (!file.seek(8))
        return {};
    const QByteArray header = file.read(16);
    if (header.size() < 16 || header.mid(4, 4) != "IHDR")
        return {};
    const auto number = [&](int at) {
        const auto* b = reinterpret_cast<const unsigned char*>(header.constData() + at);
        return (quint32{b[0]} << 24) | (quint32{b[1]} << 16) | (quint32{b[2]} << 8) | quint32{b[3]};
    };
    const quint32 width = number(8);
    const quint32 height = number(12);
    if (width == 0 || height == 0 || width > 0x7fffffffu || height > 0x7fffffffu)
        return {};
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

} // namespace

PictureRead readPicturePng(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return refused(path, QFileInfo::exists(path) ? QStringLiteral("not a regular file")
                                                     : QStringLiteral("no such file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(path, file.errorString());
    if (const QString problem = problemOfFile(file); !problem.isEmpty())
        return refused(path, problem);
    const QSize size = sizeOfPng(file);
    if (!size.isValid() || size.isEmpty())
        return refused(path, QStringLiteral("the PNG has no readable size"));
    if (size.width() > kPicturePngMaxSidePx || size.height() > kPicturePngMaxSidePx)
        return refused(path, QStringLiteral("%1 x %2 pixels is larger than %3 a side")
                                 .arg(size.width()).arg(size.height()).arg(kPicturePngMaxSidePx));
    const bool isWindowSize = size == QSize(kPictureSizePx, kPictureSizePx);
    if (isWindowSize && file.size() > kWindowPicturePngMaxBytes)
        return refused(path, QStringLiteral("the PNG is larger than %1 MiB, too large for a picture of %2 x %2 pixels")
                                 .arg(kWindowPicturePngMaxBytes >> 20).arg(kPictureSizePx));

    const ParamsRead params = readParamsFile(path);
    if (!params.ok) {
        // The reader names the path itself; the message names it once.
        const QString named = QStringLiteral("\"%1\": ").arg(path);
        const qsizetype at = params.message.indexOf(named);
        return refused(path, at >= 0 ? params.message.mid(at + named.size()) : params.message);
    }

    PictureRead read;
    read.record = params.value;
    read.size = size;
    if (isWindowSize) {
        file.seek(0);
        QImageReader reader(&file, "png");
        const QImage image = reader.read();
        if (image.isNull())
            return refused(path, reader.errorString());
        read.pixels = image.convertToFormat(QImage::Format_RGB32);
    }
    read.ok = true;
    return read;
}

WriteResult addPicturePng(OutputFiles& files, const QString& path, QImage image, const PictureRecord& record)
{
    return files.addImage(path, std::move(image), "png", QLatin1String(kParamsTextKey), paramsChunkText(record));
}

PictureWrite writePicturePng(const QString& path, QImage image, const PictureRecord& record,
                             const std::atomic<bool>& cancel)
{
    if (cancel.load(std::memory_order_acquire))
        return {false, true, {}};
    OutputFiles files;
    const WriteResult added = addPicturePng(files, path, std::move(image), record);
    // The file written aside goes with `files`; an earlier one stays as it was.
    if (cancel.load(std::memory_order_acquire))
        return {false, true, {}};
    const WriteResult written = added.ok ? files.commit() : added;
    return {written.ok, false, written.ok ? QString() : written.message};
}

} // namespace mandalix
