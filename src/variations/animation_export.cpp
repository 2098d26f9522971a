#include "variations/animation_export.h"

#include "export/painting_video.h"
#include "variations/morph_video.h"
#include "video/colour_cycle_video.h"

namespace mandalix {

Result<> writeAnimation(const AnimationJob& job, const std::atomic<bool>* cancel, const VideoProgress& progress)
{
    if (Result<> checked = checkAnimationSettings(job.settings, job.path); !checked.ok)
        return checked;
    const AnimationSettings& settings = job.settings;
    switch (settings.kind) {
    case AnimationKind::Painting:
        return writePaintingVideo(job.picture, settings, job.path, cancel, progress);
    case AnimationKind::Cycle:
        return writeColourCycle(job.picture, settings.size, settings.framesPerSecond, settings.seconds, job.path,
                                cancel, progress);
    case AnimationKind::Morph:
        if (!job.second)
            return Result<>::failure(QStringLiteral("A morph loop needs a second picture to morph into"));
        return writeMorphLoop(job.picture, *job.second, settings, job.path, cancel, progress);
    }
    return Result<>::failure(QStringLiteral("No animation of that kind"));
}

} // namespace mandalix
