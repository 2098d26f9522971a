#include "variations/morph_video.h"

#include "base/serial_queue.h"
#include "variations/morph_frames.h"
#include "video/video_format.h"
#include "video/video_writer.h"

#include <algorithm>
#include <cmath>

namespace mandalix {

namespace {

bool isCancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(std::memory_order_relaxed); }

Result<> cancelled(const QString& path)
{
    return Result<>::failure(QStringLiteral("Export of \"%1\" cancelled").arg(path));
}

// The longest loop the settings allow has 72,000 frames; anything beyond is clamped
// before rounding so that the rounding stays defined.
constexpr double kMostHalves = 1e12;

} // namespace

long long morphLoopFrames(double seconds, int framesPerSecond)
{
    const double halves = seconds * framesPerSecond / 2;
    if (!std::isfinite(halves))
        return 2;
    return 2 * std::max(1LL, std::llround(std::clamp(halves, 0.0, kMostHalves)));
}

Result<> writeMorphLoop(const PictureRecord& a, const PictureRecord& b, const AnimationSettings& settings,
                        const QString& path, const std::atomic<bool>* cancel, const VideoProgress& progress)
{
    Q_ASSERT(settings.kind == AnimationKind::Morph);
    if (Result<> checked = checkAnimationSettings(settings, path); !checked.ok)
        return checked;
    VideoWriter writer;
    if (Result<> opened = writer.open(path, settings.size, settings.framesPerSecond); !opened.ok)
        return opened;
    const long long frames = morphLoopFrames(settings.seconds, settings.framesPerSecond);
    const bool isWebM = videoFormatOf(path).value == VideoFormat::WebM;
    MorphFrames source(a, b, frames, settings.size, isWebM ? kMorphKeptBytes : kMorphKeptBytesBesideLeanEncoders);
    QImage next;
    // Declared last, so stopped first: its job may still use `source` and `next`.
    SerialQueue painter("mandalix-morph");
    const auto paintNext = [&](long long k) { painter.post([&source, &next, k, cancel] { next = source.frame(k, cancel); }); };
    paintNext(0);
    for (long long k = 0; k < frames; ++k) {
        painter.waitIdle();
        const QImage frame = std::move(next);
        if (isCancelled(cancel))
            return cancelled(path);
        if (frame.isNull())
            return Result<>::failure(QStringLiteral("Could not export \"%1\": a frame of %2x%3 does not fit in memory")
                                         .arg(path).arg(settings.size.width()).arg(settings.size.height()));
        if (k + 1 < frames)
            paintNext(k + 1);
        if (Result<> added = writer.addFrame(frame); !added.ok)
            return added;
        if (progress)
            progress(k + 1, frames);
    }
    return writer.finish();
}

} // namespace mandalix
