// The morph loop at 1920 x 1080, 30 frames a second, ten seconds (300 frames): the whole
// export into WebM or MP4, from the settings' check to the file in place, and its frames
// alone, painted (with the angles and frames kept for later, or not) without a video. Wall-clock and
// processor time (every thread's) against the ten seconds shown, and the process's
// resident memory at its highest, sampled after each frame.
#include "bench_scene.h"
#include "export_run.h"

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
#include "variations/morph_frames.h"
#include "variations/morph_video.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>

namespace mandalix::bench {
namespace {

const QSize kMorphSize(1920, 1080);
constexpr int kMorphFps = 30;
constexpr double kMorphSeconds = 10;

// The scene's picture morphs into one drawn from another seed, in another formula set.
PictureRecord otherRecord()
{
    PictureRecord record;
    Rnd rnd(3000.25f);
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    record.picture.tip = 3;
    record.picture.barv = 2;
    return record;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Arguments: 0 WebM, 1 MP4.
void BM_MorphVideo(benchmark::State& state)
{
    const char* names[] = {"morph.webm", "morph.mp4"};
    AnimationSettings settings;
    settings.kind = AnimationKind::Morph;
    settings.size = kMorphSize;
    settings.framesPerSecond = kMorphFps;
    settings.seconds = kMorphSeconds;
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(names[state.range(0)]));
    ExportRun run;
    if (!timeExports(state, run, [&](const VideoProgress& progress) {
            return writeMorphLoop(sceneRecord(1, 1), otherRecord(), settings, path, nullptr, progress);
        }))
        return;
    reportExport(state, run, kMorphSeconds, path);
}
BENCHMARK(BM_MorphVideo)->Arg(0)->Arg(1)->ArgName("webm_mp4")
    ->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// Arguments: what is kept for later frames. 0 nothing: every frame painted from scratch;
// 1 the angles and frames of the way there within the budget beside VP9; 2 the same
// within the budget beside H.264.
void BM_MorphFrames(benchmark::State& state)
{
    const qsizetype budgets[] = {0, kMorphKeptBytes, kMorphKeptBytesBesideLeanEncoders};
    const long long frames = morphLoopFrames(kMorphSeconds, kMorphFps);
    double seconds = 0;
    double cpuSeconds = 0;
    double residentPeak = 0;
    long long painted = 0;
    for (auto _ : state) {
        residentPeak = residentMb();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processSeconds();
        MorphFrames source(sceneRecord(1, 1), otherRecord(), frames, kMorphSize, budgets[state.range(0)]);
        for (long long k = 0; k < frames; ++k) {
            benchmark::DoNotOptimize(source.frame(k).constBits());
            residentPeak = std::max(residentPeak, residentMb());
        }
        seconds = secondsSince(start);
        cpuSeconds = processSeconds() - cpuStart;
        painted = source.framesPainted();
    }
    state.counters["paint_s"] = seconds;
    state.counters["cpu_s"] = cpuSeconds;
    state.counters["painted"] = static_cast<double>(painted);
    state.counters["rss_peak_mb"] = residentPeak;
}
BENCHMARK(BM_MorphFrames)->DenseRange(0, 2)->ArgName("kept")
    ->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace mandalix::bench
