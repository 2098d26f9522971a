#include "output/picture_png.h"

#include "output/output_files.h"
#include "output/params_file.h"
#include "output/png_chunks.h"
#include "surface/surface_sizes.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

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

PictureWrite writeFailure(const QString& path, const QString& reason)
{
    return PictureWrite::failure(QStringLiteral("Could not write \"%1\": %2").arg(path, reason));
}

QString reasonOf(const QSaveFile& file)
{
    const QString text = file.errorString();
    if (!text.isEmpty() && text != QIODevice::tr("Unknown error"))
        return text;
    return QStringLiteral("the file could not be written in full; the disk may be full");
}

// Hands what the image writer writes on to the file until the cancel flag is set; then
// it refuses, and the writer stops at once.
class CancellableWrite final : public QIODevice {
public:
    CancellableWrite(QIODevice& target, const std::atomic<bool>& cancel) : m_target(target), m_cancel(cancel)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isCancelled() const { return m_isCancelled; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 bytes) override
    {
        if (m_cancel.load(std::memory_order_acquire)) {
            m_isCancelled = true;
            return -1;
        }
        return m_target.write(data, bytes);
    }

private:
    QIODevice& m_target;
    const std::atomic<bool>& m_cancel;
    bool m_isCancelled = false;
};

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

PictureWrite writePicturePng(const QString& path, const QImage& image, const PictureRecord& record,
                             const std::atomic<bool>& cancel)
{
    if (cancel.load(std::memory_order_acquire))
        return cancelledWrite();
    QImage stamped = image;
    stamped.setDotsPerMeterX(kOutputDotsPerMeter);
    stamped.setDotsPerMeterY(kOutputDotsPerMeter);
    // Through the image, not the writer: the writer's own texts lose their line breaks.
    stamped.setText(QLatin1String(kParamsTextKey), paramsChunkText(record));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeFailure(path, reasonOf(file));
    CancellableWrite device(file, cancel);
    QImageWriter writer(&device, "png");
    const bool isWritten = writer.write(stamped);
    if (device.isCancelled()) {
        file.cancelWriting();
        return cancelledWrite();
    }
    if (!isWritten) {
        const QString reason = file.error() != QFileDevice::NoError ? reasonOf(file) : writer.errorString();
        file.cancelWriting();
        return writeFailure(path, reason);
    }
    if (!file.commit())
        return writeFailure(path, reasonOf(file));
    return PictureWrite::success();
}

} // namespace mandalix
