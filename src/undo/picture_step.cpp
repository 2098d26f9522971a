#include "undo/picture_step.h"

#include "output/picture_png_bytes.h"

namespace mandalix {

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
    const QByteArray picture1 = encodePicturePng(surfaces.Picture1.image(), picture);
    Q_ASSERT(!picture1.isEmpty());
    return {picture, strip, picture1, picture1};
}

} // namespace mandalix
