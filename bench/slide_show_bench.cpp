// One slide-show picture at 1920 x 1080 (a 1080-pixel square) or at 3840 x 2160, painted
// headless on every core. With the slide show's pacing (2 s a pass): the time between
// publishes, which is the frame interval the screen sees, and the time each block took,
// which must stay below the pace's 8.3 ms a block for the pace to hold. Unpaced: the
// processor time of the whole picture against the engine painting the same frame at once.
#include "bench_scene.h"
#include "thread_clock.h"

#include "base/work_pool.h"
#include "generator/frame_engine.h"
#include "palette/strip_colours.h"
#include "slideshow/slide_painter.h"
#include "slideshow/slide_frame.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace mandalix::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kPass{2000};

// Paces like the slide show and notes, at each publish, how long since the last one and
// how long the block took.
class TimingPacer final : public Pacer {
public:
    void beginPass(long long positions) override
    {
        m_passStart = Clock::now();
        m_positions = std::max(positions, 1LL);
        m_lastPublish = m_passStart;
        m_resumed = m_passStart;
    }
    bool checkpoint(long long done) override
    {
        const Clock::time_point now = Clock::now();
        intervalsMs.push_back(std::chrono::duration<double, std::milli>(now - m_lastPublish).count());
        computeMs.push_back(std::chrono::duration<double, std::milli>(now - m_resumed).count());
        m_lastPublish = now;
        std::this_thread::sleep_until(m_passStart + kPass * done / m_positions);
        m_resumed = Clock::now();
        return true;
    }
    std::vector<double> intervalsMs;
    std::vector<double> computeMs;

private:
    Clock::time_point m_passStart;
    Clock::time_point m_lastPublish;
    Clock::time_point m_resumed;
    long long m_positions = 1;
};

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto k = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
    return values[k];
}

// Arguments: the generation type, the formula set tip and the screen's height (16:9).
void BM_SlideShowPicture(benchmark::State& state)
{
    const PictureRecord record = sceneRecord(static_cast<int>(state.range(1)), static_cast<int>(state.range(0)));
    const int height = static_cast<int>(state.range(2));
    const Result<QRect> frame = slideFrameFor(QSize(height * 16 / 9, height));
    const int threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    TimingPacer pacer;
    for (auto _ : state) {
        SlidePainter painter(frame.value.width(), threads);
        painter.paint(record, pacer);
    }
    state.counters["publishes"] = static_cast<double>(pacer.intervalsMs.size());
    state.counters["interval_p95_ms"] = percentile(pacer.intervalsMs, 0.95);
    state.counters["interval_max_ms"] = percentile(pacer.intervalsMs, 1.0);
    state.counters["block_p95_ms"] = percentile(pacer.computeMs, 0.95);
    state.counters["threads"] = threads;
}
BENCHMARK(BM_SlideShowPicture)
    ->Args({1, 1, 1080})->Args({2, 2, 1080})->Args({3, 3, 1080})->Args({4, 4, 1080})
    ->Args({1, 1, 2160})->Args({3, 3, 2160})->Args({4, 4, 2160})
    ->ArgNames({"nac", "tip", "screen"})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// Arguments: the generation type (0: the engine at once) and the screen's height (16:9).
void BM_SlideShowCost(benchmark::State& state)
{
    const int nac = static_cast<int>(state.range(0));
    const PictureRecord record = sceneRecord(1, std::max(nac, 1));
    const int height = static_cast<int>(state.range(1));
    const int side = slideFrameFor(QSize(height * 16 / 9, height)).value.width();
    const int threads = sharedPool().maxThreads();
    std::chrono::nanoseconds cpu{};
    long long runs = 0;
    for (auto _ : state) {
        SlidePainter painter(side, threads); // its black frame is the window's, not the painting's
        const auto before = processTime();
        if (nac == 0) {
            const FrameEngine engine(frameStateOf(record), frameColourTable(record));
            const QImage image = engine.paint(QSize(side, side), threads);
            benchmark::DoNotOptimize(image.constBits());
        } else {
            benchmark::DoNotOptimize(painter.paint(record, noPacing()));
        }
        cpu += processTime() - before;
        ++runs;
    }
    state.counters["cpu_ms"] = std::chrono::duration<double, std::milli>(cpu).count() / static_cast<double>(runs);
    state.counters["threads"] = threads;
}
BENCHMARK(BM_SlideShowCost)
    ->Args({0, 2160})->Args({1, 2160})->Args({2, 2160})->Args({3, 2160})->Args({4, 2160})
    ->ArgNames({"nac", "screen"})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
