#include "video/colour_cycle_video.h"

#include "base/work_pool.h"
#include "generator/frame_engine.h"
#include "palette/colour_cycle.h"
#include "palette/strip_colours.h"
#include "video/video_writer.h"

#include <algorithm>
#include <cmath>

namespace mandalix {

long long colourCycleFrames(double seconds, int framesPerSecond)
{
    const double frames = seconds * framesPerSecond;
    const long long turns = std::isfinite(frames) ? std::llround(frames / kPaletteIndices) : 1;
    return std::max(1LL, turns) * kPaletteIndices;
}

Result<> writeColourCycle(const PictureRecord& record, QSize size, int framesPerSecond, double seconds,
                          const QString& path, const std::atomic<bool>* cancel, const VideoProgress& progress)
{
    VideoWriter writer;
    if (Result<> opened = writer.open(path, size, framesPerSecond); !opened.ok)
        return opened;
    const QList<QRgb> table = frameColourTable(record);
    QImage frame = FrameEngine(frameStateOf(record), table).paint(size, processorCount(), {}, cancel);
    if (frame.isNull())
        return Result<>::failure(QStringLiteral("Export of \"%1\" cancelled").arg(path));
    const long long frames = colourCycleFrames(seconds, framesPerSecond);
    for (long long k = 0; k < frames; ++k) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return Result<>::failure(QStringLiteral("Export of \"%1\" cancelled").arg(path));
        frame.setColorTable(cycledColourTable(table, static_cast<int>(k % kPaletteIndices)));
        if (Result<> added = writer.addFrame(frame); !added.ok)
            return added;
        if (progress)
            progress(k + 1, frames);
    }
    return writer.finish();
}

} // namespace mandalix
