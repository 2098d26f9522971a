// How a writer of an animation tells its progress: after each frame handed to the video,
// on the writer's calling thread. A callback that wants the video stopped sets the
// writer's cancel flag; it cannot fail.
#pragma once

#include <functional>

namespace mandalix {

// Called after each frame with the frames written and the frames in all.
using VideoProgress = std::function<void(long long done, long long frames)>;

} // namespace mandalix
