#include "render_job.h"

#include "program/generate_image.h"
#include "program/program.h"

#include <cmath>

namespace mandalix {

namespace {

// The values start-up sets before it draws the strip.
void setStartUpDefaults(WindowState& s, double nac)
{
    s.sir = 458;
    s.vis = 458;
    s.polx = 3;
    s.poly = 3;
    s.ponovi = 0;
    s.nac = nac;
}

PictureRecord recordOf(const Program& program, float seed)
{
    PictureRecord record;
    record.seed = seed;
    record.imeslike = program.state.imeslike;
    record.nac = program.state.nac;
    record.palette = program.palette;
    record.picture = parametersOf(program.state);
    return record;
}

} // namespace

RenderedPicture renderPicture(const RenderRequest& request, Pacer& pacer, const ScaledProgress& progress)
{
    const PictureRecord* recorded = request.recorded ? &*request.recorded : nullptr;
    const float seed = recorded ? recorded->seed : request.seed;
    const double nac = request.type ? *request.type : recorded ? recorded->nac : 4;
    SeededClock clock(request.moment.isValid() ? request.moment : QDateTime::currentDateTime(), seed);
    Program program(clock, Drives{});
    WindowState& s = program.state;
    Surfaces& surfaces = program.surfaces;

    program.rnd.Randomize(clock.secondsSinceMidnight());
    setStartUpDefaults(s, nac);
    if (recorded) {
        program.palette = recorded->palette;
        paintPaletteStrip(program.palette, s, surfaces.Picture3);
    } else {
        program.palette = DrawPalette(s, surfaces.Picture3, program.rnd);
    }
    BeginImage(s, surfaces.Picture2, program.rnd, clock);
    if (recorded) {
        setParameters(s, recorded->picture);
        s.imeslike = recorded->imeslike;
    }

    RenderedPicture rendered;
    rendered.record = recordOf(program, seed);
    rendered.strip = surfaces.Picture3.image();
    const QSize size = request.size.isEmpty()
        ? QSize(kPictureSizePx * request.scale, kPictureSizePx * request.scale)
        : request.size;
    if (size == QSize(kPictureSizePx, kPictureSizePx)) {
        PaintImage(s, surfaces.Picture1, surfaces.Picture3, program.rnd, pacer);
        rendered.picture = surfaces.Picture1.image();
    } else {
        rendered.picture = paintScaled(s, surfaces.Picture3, size, request.threads, progress);
    }
    return rendered;
}

QDateTime momentOfSeed(QDate day, float seed)
{
    Q_ASSERT(seed >= 0 && seed < 86400);
    const auto msecs = static_cast<int>(std::floor(static_cast<double>(seed) * 1000.0));
    return QDateTime(day, QTime::fromMSecsSinceStartOfDay(msecs), Qt::UTC);
}

} // namespace mandalix
