#include "render_job.h"

#include "palette/colour_replace.h"
#include "palette/palette_strip.h"
#include "program/picture_replay.h"
#include "program/program.h"

#include <algorithm>

#include <cmath>

namespace mandalix {

namespace {

// The record a run without one paints: the picture the window paints at start-up at the
// request's moment, in the asked generation type. One seed gives the strip and the picture.
PictureRecord firstPictureRecord(const RenderRequest& request, WindowState& s)
{
    Rnd rnd(request.seed);
    setStartUpDefaults(s, request.type ? *request.type : kStartNac);
    const PaletteWaves strip = drawPaletteWaves(rnd);
    return newPictureRecord(s, strip, request.moment, request.seed);
}

// The recolourings of a record on a picture painted at another density: every pixel
// takes the colour the list makes of its own, as on the window's picture. In an indexed
// picture that is every entry of its table.
void recolour(QImage& picture, const std::vector<ColourReplacement>& replacements)
{
    const ColourMap map(replacements);
    if (map.isIdentity())
        return;
    if (picture.format() == QImage::Format_Indexed8) {
        QList<QRgb> table = picture.colorTable();
        map.mapTable(table);
        picture.setColorTable(table);
        return;
    }
    QRgb last = 0;
    QRgb lastMapped = map.argb(last);
    for (int row = 0; row < picture.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(row));
        for (QRgb* pixel = line; pixel != line + picture.width(); ++pixel) {
            if (*pixel != last) {
                last = *pixel;
                lastMapped = map.argb(last);
            }
            *pixel = lastMapped;
        }
    }
}

} // namespace

RenderedPicture renderPicture(const RenderRequest& request, Pacer& pacer, const ScaledProgress& progress)
{
    FixedClock clock(request.moment);
    Program program(clock, Drives{});
    WindowState& s = program.state;
    Surfaces& surfaces = program.surfaces;

    PictureRecord record = request.recorded ? *request.recorded : firstPictureRecord(request, s);
    if (request.type)
        record.nac = *request.type;
    setStartUpDefaults(s, record.nac);

    RenderedPicture rendered;
    rendered.record = record;
    const QSize size = request.size.isEmpty()
        ? QSize(kPictureSizePx * request.scale, kPictureSizePx * request.scale)
        : request.size;
    if (size == QSize(kPictureSizePx, kPictureSizePx)) {
        paintRecordedPicture(s, surfaces, program.rnd, record, pacer);
        rendered.picture = surfaces.Picture1.image();
    } else {
        beginRecordedPicture(s, surfaces, program.rnd, record);
        rendered.picture = paintScaled(s, surfaces.Picture3, size, request.threads, progress);
        recolour(rendered.picture, record.replacements);
    }
    rendered.strip = surfaces.Picture3.image();
    return rendered;
}

QDateTime momentOfSeed(QDate day, float seed)
{
    Q_ASSERT(seed >= 0 && seed < 86400);
    const auto msecs = static_cast<int>(std::floor(static_cast<double>(seed) * 1000.0));
    return QDateTime(day, QTime::fromMSecsSinceStartOfDay(msecs), Qt::UTC);
}

} // namespace mandalix
