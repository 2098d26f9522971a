// The pixel pipeline against the arithmetic alone: DrawPixel and the baseline in ns per
// pixel for every tip and barv over the whole grid in plain order, and their ratio per tip.
#include "bench_scene.h"
#include "thread_clock.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace mandalix::bench {
namespace {

// Alternates the baseline and the pipeline over the whole grid, so a machine that slows
// down now and then slows both alike; the figures are processor time of this thread.
struct PipelineAndArithmetic {
    ThreadClock::duration pipeline{};
    ThreadClock::duration arithmetic{};
    long long pixels = 0;

    void run(Scene& scene, std::vector<double>& pozic)
    {
        const auto start = ThreadClock::now();
        computePlainOrder(scene, pozic.data());
        benchmark::DoNotOptimize(pozic.data());
        benchmark::ClobberMemory();
        const auto middle = ThreadClock::now();
        paintPlainOrder(scene);
        arithmetic += middle - start;
        pipeline += ThreadClock::now() - middle;
        pixels += scene.positions();
    }

    void report(benchmark::State& state) const
    {
        state.counters["pipeline_ns_px"] = nsPer(pipeline, pixels);
        state.counters["arith_ns_px"] = nsPer(arithmetic, pixels);
        state.counters["ratio"] = nsPer(pipeline, pixels) / nsPer(arithmetic, pixels);
    }
};

// DrawPixel over every position of the grid in plain order, and the arithmetic alone.
void BM_DrawPixel(benchmark::State& state)
{
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::vector<double> pozic(static_cast<std::size_t>(scene.positions()));
    PipelineAndArithmetic both;
    for (auto _ : state)
        both.run(scene, pozic);
    both.report(state);
}
BENCHMARK(BM_DrawPixel)
    ->ArgsProduct({{1, 2, 3, 4}, {1, 2, 3, 4, 5}})
    ->ArgNames({"tip", "barv"})
    ->Unit(benchmark::kMillisecond);

// The same for one tip over barv 1..5 in turn: the pipeline's cost against the
// arithmetic's for that tip.
void BM_PipelineOverArithmetic(benchmark::State& state)
{
    const int tip = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<Scene>> scenes;
    for (int barv = 1; barv <= 5; ++barv)
        scenes.push_back(std::make_unique<Scene>(tip, barv));
    std::vector<double> pozic(static_cast<std::size_t>(scenes.front()->positions()));
    PipelineAndArithmetic both;
    for (auto _ : state)
        for (const auto& scene : scenes)
            both.run(*scene, pozic);
    both.report(state);
}
BENCHMARK(BM_PipelineOverArithmetic)->DenseRange(1, 4)->ArgName("tip")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
