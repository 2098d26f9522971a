// The renderer of large exports against the naive arithmetic of its pixels: at 8 times
// the density (3624 x 3624 pixels) on one thread for every tip and barv, and the speed-up
// of two threads over one.
#include "bench_scene.h"
#include "scaled_arithmetic.h"
#include "thread_clock.h"

#include "generator/scaled_picture.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <thread>

namespace mandalix::bench {
namespace {

constexpr int kScale = 8;
constexpr int kSide = kPictureSizePx * kScale;

void render(const Scene& scene, int threads)
{
    const QImage image = paintScaled(scene.state, scene.surfaces.Picture3, kScale, threads);
    benchmark::DoNotOptimize(image.constBits());
}

// The renderer on one thread and the naive arithmetic of the same pixels, alternating,
// in processor time of this thread.
struct RendererAndArithmetic {
    ThreadClock::duration renderer{};
    ThreadClock::duration arithmetic{};

    void run(const Scene& scene)
    {
        const auto start = ThreadClock::now();
        benchmark::DoNotOptimize(computeScaled(scene.state, scene.formulas(), kSide, 1));
        const auto middle = ThreadClock::now();
        render(scene, 1);
        arithmetic += middle - start;
        renderer += ThreadClock::now() - middle;
    }
    double ratio() const
    {
        return std::chrono::duration<double>(renderer).count() / std::chrono::duration<double>(arithmetic).count();
    }
};

long long pixels() { return static_cast<long long>(kSide) * kSide; }

void BM_RendererOverArithmetic(benchmark::State& state)
{
    const Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    RendererAndArithmetic both;
    long long runs = 0;
    for (auto _ : state) {
        both.run(scene);
        ++runs;
    }
    state.counters["renderer_ns_px"] = nsPer(both.renderer, runs * pixels());
    state.counters["arith_ns_px"] = nsPer(both.arithmetic, runs * pixels());
    state.counters["ratio"] = both.ratio();
}
BENCHMARK(BM_RendererOverArithmetic)
    ->ArgsProduct({{1, 2, 3, 4}, {1, 2, 3, 4, 5}})
    ->ArgNames({"tip", "barv"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Every tip and barv in turn: the geometric mean of the 20 ratios and the largest.
void BM_RendererOverArithmeticMean(benchmark::State& state)
{
    std::vector<std::unique_ptr<Scene>> scenes;
    for (int tip = 1; tip <= 4; ++tip)
        for (int barv = 1; barv <= 5; ++barv)
            scenes.push_back(std::make_unique<Scene>(tip, barv));
    std::vector<RendererAndArithmetic> both(scenes.size());
    for (auto _ : state)
        for (std::size_t k = 0; k < scenes.size(); ++k)
            both[k].run(*scenes[k]);
    double logSum = 0;
    double largest = 0;
    for (const RendererAndArithmetic& b : both) {
        logSum += std::log(b.ratio());
        largest = std::max(largest, b.ratio());
    }
    state.counters["geomean_ratio"] = std::exp(logSum / static_cast<double>(both.size()));
    state.counters["largest_ratio"] = largest;
}
BENCHMARK(BM_RendererOverArithmeticMean)->Iterations(1)->Unit(benchmark::kMillisecond);

// Processor time of the whole process, all threads together.
std::chrono::nanoseconds processTime()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

// One thread, then two, alternating, in wall-clock time; speedup is the first over the
// second. The processor times tell the renderer from the machine: two_threads_cpu_ms near
// one_thread_cpu_ms means the work divided without waste. The naive arithmetic of the same
// pixels, rows taken in turn and nothing shared, runs alternately with it: its speedup is
// what the machine itself gives two threads at that moment (a virtual machine's two
// processors may share a core with others), and efficiency = speedup / arithmetic_speedup
// is the renderer's share of it.
void BM_RenderSpeedup(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const Scene scene(1, 1);
    Clock::duration one{}, two{}, arithmeticOne{}, arithmeticTwo{};
    std::chrono::nanoseconds oneCpu{}, twoCpu{};
    long long renders = 0;
    for (auto _ : state) {
        const auto oneCpuBefore = processTime();
        const auto start = Clock::now();
        render(scene, 1);
        const auto middle = Clock::now();
        oneCpu += processTime() - oneCpuBefore;
        const auto cpuBefore = processTime();
        render(scene, 2);
        twoCpu += processTime() - cpuBefore;
        const auto end = Clock::now();
        one += middle - start;
        two += end - middle;
        benchmark::DoNotOptimize(computeScaled(scene.state, scene.formulas(), kSide, 1));
        const auto arithmeticMiddle = Clock::now();
        benchmark::DoNotOptimize(computeScaled(scene.state, scene.formulas(), kSide, 2));
        arithmeticOne += arithmeticMiddle - end;
        arithmeticTwo += Clock::now() - arithmeticMiddle;
        ++renders;
    }
    const auto ms = [&](auto d) {
        return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(renders);
    };
    state.counters["one_thread_ms"] = ms(one);
    state.counters["two_threads_ms"] = ms(two);
    state.counters["one_thread_cpu_ms"] = ms(oneCpu);
    state.counters["two_threads_cpu_ms"] = ms(twoCpu);
    state.counters["speedup"] = ms(one) / ms(two);
    state.counters["arithmetic_speedup"] = ms(arithmeticOne) / ms(arithmeticTwo);
    state.counters["efficiency"] = (ms(one) / ms(two)) / (ms(arithmeticOne) / ms(arithmeticTwo));
}
BENCHMARK(BM_RenderSpeedup)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
