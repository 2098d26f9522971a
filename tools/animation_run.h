// An --animate run of the renderer: the picture the request paints (and the morph's
// other picture, read from --with) written as a video through the same writer the
// window's export uses, so both make the same frames. Shows its progress on the line;
// an interrupt (SIGINT, SIGTERM) cancels it and leaves no file.
#pragma once

#include "base/result.h"
#include "progress_line.h"
#include "render_job.h"
#include "render_options.h"

namespace mandalix {

// Writes options.out. The request holds the picture (a --params record or the seed's) and
// the edits; the morph's other picture is painted as its file records it.
Result<> runAnimation(const RenderOptions& options, const RenderRequest& request, ProgressLine& progress);

} // namespace mandalix
