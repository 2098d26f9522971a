// The pixel pipeline against the arithmetic alone: DrawPixel and the baseline in ns per
// pixel for every tip and barv over the whole grid in plain order, and their ratio per tip.
#include "bench_scene.h"
#include "thread_clock.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace mandalix::bench {
namespace {

// Seconds per pixel, shown in ns by the console reporter's "n" suffix.
benchmark::Counter perPixel(long long pixels)
{
    return benchmark::Counter(static_cast<double>(pixels),
                              benchmark::Counter::kIsIterationInvariantRate
                                  | benchmark::Counter::kInvert);
}

void BM_DrawPixel(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    long long painted = 0;
    for (auto _ : state)
        painted = paintPlainOrder(scene);
    state.counters["per_px"] = perPixel(scene.positions());
    state.counters["painted"] = static_cast<double>(painted);
}
BENCHMARK(BM_DrawPixel)->ArgsProduct({{1, 2, 3, 4}, {1, 2, 3, 4, 5}})->ArgNames({"tip", "barv"});

void BM_PixelArithmetic(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::vector<double> pozic(static_cast<std::size_t>(scene.positions()));
    for (auto _ : state) {
        computePlainOrder(scene, pozic.data());
        benchmark::DoNotOptimize(pozic.data());
        benchmark::ClobberMemory();
    }
    state.counters["per_px"] = perPixel(scene.positions());
}
BENCHMARK(BM_PixelArithmetic)->ArgsProduct({{1, 2, 3, 4}, {1, 2, 3, 4, 5}})->ArgNames({"tip", "barv"});

// Both over the grid for barv 1..5 in turn, alternating, so a busy machine slows both
// alike; the ratio is the pipeline's processor time over the arithmetic's.
void BM_PipelineOverArithmetic(benchmark::State& state)
{
    using Clock = ThreadClock;
    const int tip = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<Scene>> scenes;
    for (int barv = 1; barv <= 5; ++barv)
        scenes.push_back(std::make_unique<Scene>(tip, barv));
    std::vector<double> pozic(static_cast<std::size_t>(scenes.front()->positions()));
    Clock::duration pipeline{}, arithmetic{};
    long long pixels = 0;
    for (auto _ : state) {
        for (const auto& scene : scenes) {
            const auto start = Clock::now();
            computePlainOrder(*scene, pozic.data());
            benchmark::DoNotOptimize(pozic.data());
            benchmark::ClobberMemory();
            const auto middle = Clock::now();
            paintPlainOrder(*scene);
            arithmetic += middle - start;
            pipeline += Clock::now() - middle;
            pixels += scene->positions();
        }
    }
    state.counters["arith_ns_px"] = nsPer(arithmetic, pixels);
    state.counters["pipeline_ns_px"] = nsPer(pipeline, pixels);
    state.counters["ratio"] = nsPer(pipeline, pixels) / nsPer(arithmetic, pixels);
}
BENCHMARK(BM_PipelineOverArithmetic)->DenseRange(1, 4)->ArgName("tip")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
