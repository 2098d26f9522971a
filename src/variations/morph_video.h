// A morph loop as a video: from one picture to another and back, each frame the record
// between the two at a smooth weight, painted by the frame engine, so the frame after the
// last is the first and the video loops without a seam. Runs on the calling thread, which
// encodes, and one painting thread of its own that paints the next frame meanwhile (each
// frame on the shared pool). Frames are streamed: memory stays bounded however long the
// loop. A failure, or a cancel, leaves no file.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"
#include "video/animation_settings.h"
#include "video/colour_cycle_video.h"

#include <QString>

#include <atomic>

namespace mandalix {

// The frames of a loop of about `seconds` at `framesPerSecond`: the even number nearest
// seconds x framesPerSecond, at least 2, so that b is shown at the middle.
long long morphLoopFrames(double seconds, int framesPerSecond);

// Writes the loop from a to b and back to `path` (its suffix names the format), of
// settings.size at settings.framesPerSecond, one round lasting settings.seconds. Frame k
// is morphedRecord(a, b, morphWeight(k, frames)): frame 0 is a, frame frames / 2 is b.
// Requires settings.kind Morph. Settings refused by checkAnimationSettings, and a file that
// cannot be opened, fail before anything is painted. `progress` is called on the calling
// thread after each frame; `cancel` is looked at between frames and while one is painted.
Result<> writeMorphLoop(const PictureRecord& a, const PictureRecord& b, const AnimationSettings& settings,
                        const QString& path, const std::atomic<bool>* cancel = nullptr,
                        const VideoProgress& progress = {});

} // namespace mandalix
