#include "program/picture_replay.h"

#include "generator/picture_parameters.h"
#include "output/image_name.h"
#include "palette/colour_replace.h"
#include "palette/palette_strip.h"
#include "program/generate_image.h"

#include <algorithm>

namespace mandalix {

namespace {

// The coordinate window of a picture's view: polx = poly = its half-extent.
void setView(WindowState& s, double view)
{
    s.polx = view;
    s.poly = view;
}

} // namespace

PictureRecord newPictureRecord(const WindowState& s, const PaletteWaves& strip,
                               const QDateTime& moment, float seed)
{
    PictureRecord record;
    record.moment = moment;
    record.seed = seed;
    record.imeslike = imageNameFor(moment);
    record.nac = s.nac;
    record.isRepeat = s.ponovi == 1;
    record.palette = strip;
    if (record.isRepeat) {
        // A repeat paints the picture on show again, at its view.
        record.picture = parametersOf(s);
        record.view = s.polx;
    } else {
        Rnd rnd(seed);
        drawPictureParameters(record.picture, rnd);
    }
    return record;
}

void beginRecordedPicture(WindowState& s, Surfaces& surfaces, Rnd& rnd, const PictureRecord& record)
{
    paintPaletteStrip(record.palette, s, surfaces.Picture3);
    s.nac = record.nac;
    // The record holds the parameters: begun as a repeat, the generator draws none, then
    // spends the draws a new picture made them with, so the random orders and the noise
    // come out as they did.
    s.ponovi = 1;
    BeginImage(s, surfaces.Picture2, rnd, record.seed, record.imeslike);
    if (!record.isRepeat)
        skipPictureParameters(rnd);
    setParameters(s, record.picture);
    setView(s, record.view);
}

bool paintRecordedPicture(WindowState& s, Surfaces& surfaces, Rnd& rnd, const PictureRecord& record,
                          Pacer& pacer)
{
    beginRecordedPicture(s, surfaces, rnd, record);
    if (!PaintImage(s, surfaces.Picture1, surfaces.Picture3, rnd, pacer))
        return false;
    replaceColours(s, surfaces.Picture1, record.replacements);
    return true;
}

void showPixels(Surface& surface, const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(surface.width(), pixels.width());
    const int height = std::min(surface.height(), pixels.height());
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y));
        for (int x = 0; x < width; ++x)
            surface.PSet(x, y, fromArgb(row[x]));
    }
}

void setPictureState(WindowState& s, const PictureRecord& picture)
{
    setParameters(s, picture.picture);
    setView(s, picture.view);
    s.imeslike = picture.imeslike;
    s.ponovi = 0;
}

} // namespace mandalix
