// The one entry of an animation's export, for the window and the renderer alike: the
// settings are checked, then the video of the job's kind is written by its writer (the
// painting, the colour cycling, or the morph loop of two pictures). Any thread; cancel and
// progress as the writers take them; a refusal or a failure is a failed Result with one
// line, and leaves no file.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"
#include "video/animation_settings.h"
#include "video/video_progress.h"

#include <QString>

#include <atomic>
#include <optional>

namespace mandalix {

struct AnimationJob {
    AnimationSettings settings;
    PictureRecord picture;               // the picture on show (nac = the type to paint in)
    std::optional<PictureRecord> second; // the morph's other picture
    QString path;
};

// Checks the settings (one line naming the field), refuses a morph without a second
// picture, then writes the video of the job's kind.
Result<> writeAnimation(const AnimationJob& job, const std::atomic<bool>* cancel = nullptr,
                        const VideoProgress& progress = {});

} // namespace mandalix
