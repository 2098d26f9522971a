#include "output/picture_png.h"

#include "output/output_files.h"
#include "output/params_file.h"
#include "output/png_chunks.h"
#include "surface/surface_sizes.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cmath>

namespace mandalix {

namespace {

PictureRead refused(const QString& path, const QString& reason)
{
    return PictureRead::failure(QStringLiteral("Could not open \"%1\": %2").arg(path, reason));
}

// The reason a file is no picture's PNG, judged by its size and its two ends; empty
// when it may be one.
QString problemOfFile(QFile& file)
{
    if (file.size() > kPicturePngMaxBytes)
        return QStringLiteral("the file is larger than %1 MiB").arg(kPicturePngMaxBytes >> 20);
    if (file.peek(kPngSignatureBytes) != QByteArray(kPngSignature, kPngSignatureBytes))
        return QStringLiteral("not a PNG file");
    // A PNG ends with its empty IEND chunk; a file cut short does not.
    static const QByteArray kPngEnd = pngChunk("IEND", {});
    if (!file.seek(file.size() - kPngEnd.size()) || file.read(kPngEnd.size()) != kPngEnd)
        return QStringLiteral("the PNG is cut short");
    return {};
}

// The picture's size from its header, the first chunk; invalid when that is no IHDR.
// The image reader would first walk every chunk before the image data for it.
QSize sizeOfPng(QFile& file)
{
    if (!file.seek(kPngSignatureBytes))
        return {};
    const QByteArray header = file.read(16);
    if (header.size() < 16 || header.mid(4, 4) != "IHDR")
        return {};
    const quint32 width = pngNumber(header.constData() + 8);
    const quint32 height = pngNumber(header.constData() + 12);
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
    if (size.width() > kMaxPictureSidePx || size.height() > kMaxPictureSidePx)
        return refused(path, QStringLiteral("%1 x %2 pixels is larger than %3 a side")
                                 .arg(size.width()).arg(size.height()).arg(kMaxPictureSidePx));
    const bool isWindowSize = size == QSize(kPictureSizePx, kPictureSizePx);
    if (isWindowSize && file.size() > kWindowPicturePngMaxBytes)
        return refused(path, QStringLiteral("the PNG is larger than %1 MiB, too large for a picture of %2 x %2 pixels")
                                 .arg(kWindowPicturePngMaxBytes >> 20).arg(kPictureSizePx));

    file.seek(0);
    const ParamsRead params = paramsFromDevice(file);
    if (!params.ok)
        return refused(path, params.message);

    PictureFile read;
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
    return PictureRead::success(std::move(read));
}

WriteResult addPicturePng(OutputFiles& files, const QString& path, QImage image, const PictureRecord& record)
{
    return files.addImage(path, std::move(image), "png", QLatin1String(kParamsTextKey), paramsChunkText(record));
}

WriteResult addPicturePng(OutputFiles& files, const QString& path, const PngRows& rows, const PictureRecord& record)
{
    return files.addPng(path, rows, QLatin1String(kParamsTextKey), paramsChunkText(record));
}

namespace {

// Adds one picture with `add` and commits it, unless `cancel` was set before or during.
template <typename Add> PictureWrite writeOnePicture(const std::atomic<bool>& cancel, Add add)
{
    if (cancel.load(std::memory_order_acquire))
        return cancelledWrite();
    OutputFiles files;
    const WriteResult added = add(files);
    // The file written aside goes with `files`; an earlier one stays as it was.
    if (cancel.load(std::memory_order_acquire))
        return cancelledWrite();
    const WriteResult written = added.ok ? files.commit() : added;
    return written.ok ? PictureWrite::success() : PictureWrite::failure(written.message);
}

} // namespace

PictureWrite writePicturePng(const QString& path, QImage image, const PictureRecord& record,
                             const std::atomic<bool>& cancel)
{
    return writeOnePicture(cancel, [&](OutputFiles& files) { return addPicturePng(files, path, std::move(image), record); });
}

PictureWrite writePicturePng(const QString& path, const PngRows& rows, const PictureRecord& record,
                             const std::atomic<bool>& cancel)
{
    return writeOnePicture(cancel, [&](OutputFiles& files) { return addPicturePng(files, path, rows, record); });
}

} // namespace mandalix
