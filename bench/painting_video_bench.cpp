// The painting as a video at 1920 x 1080, 30 frames a second: ten seconds each, type 1
// (one pass left to right, two seconds, then an eight-second hold) and type 4 (a noise
// pass and a random pass, four seconds, then a six-second hold), into WebM and MP4.
// Wall-clock and processor time (every thread's) from the settings' check to the file in
// place, against the ten seconds shown, and the process's resident memory at its highest,
// sampled after each frame.
#include "bench_scene.h"
#include "process_usage.h"
#include "thread_clock.h"

#include "export/painting_video.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>

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
    double seconds = 0;
    double cpuSeconds = 0;
    double residentBefore = 0;
    double residentPeak = 0;
    for (auto _ : state) {
        residentBefore = residentMb();
        residentPeak = residentBefore;
        const auto start = std::chrono::steady_clock::now();
        const auto cpuStart = processTime();
        const Result<> written = writePaintingVideo(record, settings, path, nullptr, [&](long long, long long) {
            residentPeak = std::max(residentPeak, residentMb());
        });
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpuSeconds = std::chrono::duration<double>(processTime() - cpuStart).count();
        if (!written.ok) {
            state.SkipWithError(written.message.toStdString().c_str());
            return;
        }
    }
    const double shownSeconds = static_cast<double>(paintingVideoFrames(record, settings)) / settings.framesPerSecond;
    state.counters["encode_s"] = seconds;
    state.counters["cpu_s"] = cpuSeconds;
    state.counters["x_realtime"] = shownSeconds / seconds;
    state.counters["file_mb"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
    state.counters["rss_before_mb"] = residentBefore;
    state.counters["rss_peak_mb"] = residentPeak;
}
BENCHMARK(BM_PaintingVideo)->ArgsProduct({{0, 1}, {1, 4}})->ArgNames({"format", "type"})
    ->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace mandalix::bench
