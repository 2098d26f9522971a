// A picture's colour cycling as a video: the frame engine paints the picture's palette
// positions once, and each frame shows them with the colour table turned one more place
// along the strip (palette/colour_cycle.h), so frame N is frame 0 shifted N places. The
// video holds whole turns of the 68 positions, so its last frame leads into its first and
// it loops without a seam. Runs on the calling thread (and the shared pool); a failure,
// or a cancel, leaves no file.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"
#include "video/video_progress.h"

#include <QSize>
#include <QString>

#include <atomic>

namespace mandalix {

// The frames of a loop of about `seconds` at `framesPerSecond`: whole turns of the 68
// positions, at least one.
long long colourCycleFrames(double seconds, int framesPerSecond);

// Writes the loop of `record` at `size` to `path` (its suffix names the format).
Result<> writeColourCycle(const PictureRecord& record, QSize size, int framesPerSecond, double seconds,
                          const QString& path, const std::atomic<bool>* cancel = nullptr,
                          const VideoProgress& progress = {});

} // namespace mandalix
