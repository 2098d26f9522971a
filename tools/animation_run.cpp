#include "animation_run.h"

#include "output/params_file.h"
#include "variations/animation_export.h"

#include <atomic>
#include <csignal>

namespace mandalix {

namespace {

// Set by an interrupt; the writer looks at it between frames and drops the video.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set in a signal handler");

extern "C" void onInterrupt(int /*signal*/)
{
    g_interrupted.store(true, std::memory_order_relaxed);
}

void cancelOnInterrupt()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM})
        sigaction(signal, &action, nullptr);
}

} // namespace

Result<> runAnimation(const RenderOptions& options, const RenderRequest& request, ProgressLine& progress)
{
    AnimationJob job;
    job.settings = options.animation;
    job.picture = requestedRecord(request);
    job.path = options.out;
    if (job.settings.kind == AnimationKind::Morph) {
        const ParamsRead second = readParamsFile(options.with);
        if (!second.ok)
            return Result<>::failure(second.message);
        job.second = second.value;
    }
    cancelOnInterrupt();
    const Result<> written = writeAnimation(job, &g_interrupted, [&](long long done, long long frames) {
        progress.update("frames", done, frames);
    });
    progress.finish();
    return written;
}

} // namespace mandalix
