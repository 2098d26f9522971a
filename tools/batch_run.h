// A --count run of the renderer: N new pictures, seeded one second apart from the run's
// moment (--seed or the clock), each written into the folder as a PNG carrying its record
// and its parameters file, both named after the picture. The pictures are shared out
// over the cores, each painted on one. A picture whose files are there already, carrying
// the same picture, is kept, so a batch interrupted and started again goes on where it
// was; what an interrupted write left aside is cleared first.
#pragma once

#include "base/result.h"
#include "progress_line.h"
#include "render_job.h"
#include "render_options.h"

#include <QString>

#include <vector>

namespace mandalix {

// Picture k (0..count - 1) of a batch begun at `first`: the request painting it.
RenderRequest batchRequest(const RenderRequest& first, long long k);

struct BatchOutcome {
    long long written = 0;
    long long kept = 0;   // there already
    long long failed = 0;
    QString firstFailure; // the first failure's line
};

// Paints and writes options.count pictures into options.outDir on `threads` threads.
BatchOutcome runBatch(const RenderOptions& options, const RenderRequest& first, int threads, ProgressLine& progress);

} // namespace mandalix
