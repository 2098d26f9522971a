// A picture's painting as a video: the frames a viewer sees while the window paints it,
// each pass over two seconds of video in the order of its generation type, then the
// finished picture held. At the window's size the window's own painting is filmed; larger
// videos film the frame engine's block orders, framed as Save as frames the picture.
// Frames stream to the video writer as they are painted, so memory stays bounded however
// long the video. Paints on the calling thread (the engine also on the shared pool) while
// the writer encodes on its own queue; bad settings, a bad path, a failed write or a
// cancel come back as a failed Result and leave no file.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"
#include "video/animation_settings.h"
#include "video/video_progress.h"

#include <QString>

#include <atomic>

namespace mandalix {

// Frames in all: passes (2 for type 4, else 1) x 2 s x fps, plus round(hold x fps).
long long paintingVideoFrames(const PictureRecord& record, const AnimationSettings& settings);

// Writes the painting of `record` to `path` (its suffix names the format). settings.kind
// is Painting, settings.seconds the hold; record.nac names the order. Frame k of a pass
// of framesPerPass frames shows the picture once k / framesPerPass of the pass's
// positions are painted; the last frame of the last pass, and the hold, show the finished
// picture with its recolourings. `cancel` is looked at between frames.
Result<> writePaintingVideo(const PictureRecord& record, const AnimationSettings& settings,
                            const QString& path, const std::atomic<bool>* cancel = nullptr,
                            const VideoProgress& progress = {});

} // namespace mandalix
