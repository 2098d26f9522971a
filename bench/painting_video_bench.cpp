// The painting as a video at 1920 x 1080, 30 frames a second: ten seconds each, type 1
// (one pass left to right, two seconds, then an eight-second hold) and type 4 (a noise
// pass and a random pass, four seconds, then a six-second hold), into WebM and MP4.
// Wall-clock and processor time (every thread's) from the settings' check to the file in
// place, against the ten seconds shown, and the process's resident memory at its highest,
// sampled after each frame.
#include "bench_scene.h"
#include "export_run.h"

#include "export/painting_video.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>


namespace mandalix::bench {
namespace {

// Arguments: format (0 WebM, 1 MP4), generation type (1 or 4).
void BM_PaintingVideo(benchmark::State& state)
{
    const char* names[] = {"painting.webm", "painting.mp4"};
    const int type = static_cast<int>(state.range(1));
    const PictureRecord record = sceneRecord(1, type);
    AnimationSettings settings;
    settings.size = QSize(1920, 1080);
    settings.framesPerSecond = 30;
    settings.seconds = type == 4 ? 6 : 8;
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(names[state.range(0)]));
    ExportRun run;
    if (!timeExports(state, run, [&](const VideoProgress& progress) {
            return writePaintingVideo(record, settings, path, nullptr, progress);
        }))
        return;
    reportExport(state, run, static_cast<double>(paintingVideoFrames(record, settings)) / settings.framesPerSecond,
                 path);
}
BENCHMARK(BM_PaintingVideo)->ArgsProduct({{0, 1}, {1, 4}})->ArgNames({"format", "type"})
    ->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace mandalix::bench
