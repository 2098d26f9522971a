// The video writer at 1920 x 1080, 30 frames a second: 300 frames (ten seconds) of a
// painted picture whose colour table turns by one entry a frame, as colour cycling does,
// so every pixel changes every frame. Wall-clock and processor time (every thread's) of
// converting, encoding and writing against the ten seconds they show, and the process's
// resident memory at its highest (sampled after each frame) before and after half of the
// frames: the same figure twice when memory stays bounded.
#include "bench_scene.h"
#include "process_usage.h"

#include "base/work_pool.h"
#include "generator/frame_engine.h"
#include "palette/strip_colours.h"
#include "video/video_writer.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>

namespace mandalix::bench {
namespace {

const QSize kVideoSize(1920, 1080);
constexpr int kVideoFps = 30;
constexpr int kVideoFrames = 300;

// Arguments: 0 WebM, 1 MP4, 2 animated PNG.
void BM_VideoWriter(benchmark::State& state)
{
    const char* names[] = {"video.webm", "video.mp4", "video.png"};
    const PictureRecord record = sceneRecord(1, 1);
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    const QImage picture = engine.paint(kVideoSize, sharedPool().maxThreads());
    const QList<QRgb> table = picture.colorTable();
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(names[state.range(0)]));
    double seconds = 0;
    double cpuSeconds = 0;
    double residentBefore = 0;
    double residentPeak = 0;
    double residentHalf = 0;
    for (auto _ : state) {
        residentBefore = residentMb();
        residentPeak = residentBefore;
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processSeconds();
        VideoWriter writer;
        Result<> written = writer.open(path, kVideoSize, kVideoFps);
        for (int index = 0; written.ok && index < kVideoFrames; ++index) {
            QList<QRgb> turned = table;
            std::rotate(turned.begin(), turned.begin() + index % kFrameColours, turned.end());
            QImage frame = picture;
            frame.setColorTable(turned);
            written = writer.addFrame(frame);
            residentPeak = std::max(residentPeak, residentMb());
            if (index == kVideoFrames / 2)
                residentHalf = residentPeak;
        }
        if (written.ok)
            written = writer.finish();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpuSeconds = processSeconds() - cpuStart;
        if (!written.ok) {
            state.SkipWithError(written.message.toStdString().c_str());
            return;
        }
    }
    const double shownSeconds = static_cast<double>(kVideoFrames) / kVideoFps;
    state.counters["encode_s"] = seconds;
    state.counters["cpu_s"] = cpuSeconds;
    state.counters["fps"] = kVideoFrames / seconds;
    state.counters["x_realtime"] = shownSeconds / seconds;
    state.counters["file_mb"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
    state.counters["rss_before_mb"] = residentBefore;
    state.counters["rss_peak_half_mb"] = residentHalf;
    state.counters["rss_peak_mb"] = residentPeak;
}
BENCHMARK(BM_VideoWriter)->Arg(0)->Arg(1)->Arg(2)->ArgName("webm_mp4_apng")
    ->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace mandalix::bench
