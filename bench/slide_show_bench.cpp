// One slide-show picture at 1920 x 1080 (a 1080-pixel square) or at 3840 x 2160, painted
// headless with the slide show's pacing (2 s a pass) on every core: the time between
// publishes, which is the frame interval the screen sees, and the time each block took
// to compute, which must stay below the pace's 8.3 ms a block for the pace to hold.
#include "bench_scene.h"

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
    const int nac = static_cast<int>(state.range(0));
    Scene scene(static_cast<int>(state.range(1)), 1);
    scene.state.nac = nac;
    const int height = static_cast<int>(state.range(2));
    const Result<QRect> frame = slideFrameFor(QSize(height * 16 / 9, height));
    const int threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    TimingPacer pacer;
    for (auto _ : state) {
        SlidePainter painter(frame.value.width(), threads);
        Rnd rnd(kSceneSeed);
        painter.paint(scene.state, scene.surfaces.Picture3, rnd, pacer);
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

} // namespace
} // namespace mandalix::bench
