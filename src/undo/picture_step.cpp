#include "undo/picture_step.h"

#include <QBuffer>
#include <algorithm>
#include <QImageWriter>

namespace mandalix {

namespace {

// A low zlib level: several times faster than the default, little larger on pictures.
constexpr int kPngQuality = 80;

} // namespace

QByteArray packPixels(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(kPngQuality);
    const bool written = writer.write(image);
    Q_ASSERT(written);
    (void)written;
    return bytes;
}

QImage unpackPixels(const QByteArray& bytes)
{
    QImage image;
    image.loadFromData(bytes, "png");
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

PictureStep captureStep(const Surfaces& surfaces, const PictureRecord& picture,
                        const PaletteWaves& strip)
{
    return {picture, strip, packPixels(surfaces.Picture1.image()),
            packPixels(surfaces.Picture3.image())};
}

} // namespace mandalix
