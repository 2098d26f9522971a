// The frame engine at 3840 x 2160: painted at once (the tiles that share the terms of a
// distance) against block by block in a painting order, as a watcher sees it, in
// processor time of the whole process (every thread of the shared pool counted).
#include "bench_scene.h"
#include "thread_clock.h"

#include "base/work_pool.h"
#include "generator/frame_blocks.h"
#include "palette/strip_colours.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <mutex>

namespace mandalix::bench {
namespace {

const QSize kFrameSize(3840, 2160);

// Arguments: the generation type of the progressive painting (0: at once).
void BM_FrameEngine(benchmark::State& state)
{
    const PictureRecord record = sceneRecord(1, 1);
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    const int threads = sharedPool().maxThreads();
    const int nac = static_cast<int>(state.range(0));
    std::chrono::nanoseconds cpu{};
    long long runs = 0;
    for (auto _ : state) {
        const auto before = processTime();
        if (nac == 0) {
            const QImage image = engine.paint(kFrameSize, threads);
            benchmark::DoNotOptimize(image.constBits());
        } else {
            BlockPainter painter(engine, kFrameSize, threads);
            QImage frame(kFrameSize, QImage::Format_RGB32);
            frame.fill(0);
            std::mutex lock;
            Rnd rnd(1.0f);
            benchmark::DoNotOptimize(painter.paint(nac, frame, lock, rnd, noPacing()));
        }
        cpu += processTime() - before;
        ++runs;
    }
    const double pixels = static_cast<double>(kFrameSize.width()) * kFrameSize.height();
    state.counters["cpu_ms"] = std::chrono::duration<double, std::milli>(cpu).count() / static_cast<double>(runs);
    state.counters["cpu_ns_px"] = std::chrono::duration<double, std::nano>(cpu).count() / (pixels * static_cast<double>(runs));
    state.counters["threads"] = threads;
}
BENCHMARK(BM_FrameEngine)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->ArgName("progressive_nac")
    ->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
