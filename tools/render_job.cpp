#include "render_job.h"

#include "palette/palette_strip.h"
#include "palette/strip_colours.h"
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

// The record to paint, in the asked generation type, with the request's edits.
PictureRecord recordOf(const RenderRequest& request, WindowState& s)
{
    PictureRecord record = request.recorded ? *request.recorded : firstPictureRecord(request, s);
    if (request.type)
        record.nac = *request.type;
    applyEdits(request.edits, record);
    return record;
}

// The window's own picture: Picture1 painted through the window's traversals.
RenderedPicture renderAtWindowSize(const RenderRequest& request, Pacer& pacer)
{
    FixedClock clock(request.moment);
    Program program(clock, Drives{});
    WindowState& s = program.state;
    Surfaces& surfaces = program.surfaces;

    RenderedPicture rendered;
    rendered.record = recordOf(request, s);
    setStartUpDefaults(s, rendered.record.nac);
    paintRecordedPicture(s, surfaces, program.rnd, rendered.record, pacer);
    rendered.picture = surfaces.Picture1.image();
    rendered.strip = surfaces.Picture3.image();
    return rendered;
}

} // namespace

RenderedPicture renderPicture(const RenderRequest& request, Pacer& pacer, const FrameProgress& progress)
{
    const QSize size = request.size.isEmpty()
        ? QSize(kPictureSizePx * request.scale, kPictureSizePx * request.scale)
        : request.size;
    if (size == QSize(kPictureSizePx, kPictureSizePx))
        return renderAtWindowSize(request, pacer);

    WindowState s;
    RenderedPicture rendered;
    rendered.record = recordOf(request, s);
    const FrameEngine engine(frameStateOf(rendered.record), frameColourTable(rendered.record));
    rendered.picture = engine.paint(size, request.threads, progress);
    rendered.strip = paletteStripImage(rendered.record.palette);
    return rendered;
}

PictureRecord requestedRecord(const RenderRequest& request)
{
    WindowState s;
    return recordOf(request, s);
}

QDateTime momentOfSeed(QDate day, float seed)
{
    Q_ASSERT(seed >= 0 && seed < 86400);
    const auto msecs = static_cast<int>(std::floor(static_cast<double>(seed) * 1000.0));
    return QDateTime(day, QTime::fromMSecsSinceStartOfDay(msecs), Qt::UTC);
}

} // namespace mandalix
