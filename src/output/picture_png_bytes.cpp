#include "output/picture_png_bytes.h"

#include "output/output_files.h"
#include "output/params_file.h"

#include <QBuffer>
#include <QImageWriter>

namespace mandalix {

namespace {

constexpr int kPngQuality = 80;

} // namespace

QByteArray encodePicturePng(const QImage& pixels, const PictureRecord& record)
{
    QImage stamped = pixels;
    stamped.setDotsPerMeterX(kOutputDotsPerMeter);
    stamped.setDotsPerMeterY(kOutputDotsPerMeter);
    // Through the image, not the writer: the writer's own texts lose their line breaks.
    stamped.setText(QLatin1String(kParamsTextKey), paramsChunkText(record));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(kPngQuality);
    return writer.write(stamped) ? bytes : QByteArray();
}

} // namespace mandalix
