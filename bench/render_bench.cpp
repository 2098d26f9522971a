// The renderer of large exports: a picture at 4 times the density (1812 x 1812 pixels)
// on one thread and on every thread of the machine, and the speed-up between the two.
#include "bench_scene.h"

#include "generator/scaled_picture.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

namespace mandalix::bench {
namespace {

constexpr int kScale = 4;

int allThreads() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

long long scaledPixels()
{
    const long long side = static_cast<long long>(kPictureSizePx) * kScale;
    return side * side;
}

void render(const Scene& scene, int threads)
{
    const QImage image = paintScaled(scene.state, scene.surfaces.Picture3, kScale, threads);
    benchmark::DoNotOptimize(image.constBits());
}

void BM_RenderScaled(benchmark::State& state)
{
    const int threads = static_cast<int>(state.range(0));
    const Scene scene(1, 1);
    for (auto _ : state)
        render(scene, threads);
    state.counters["per_px"] = benchmark::Counter(
        static_cast<double>(scaledPixels()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RenderScaled)
    ->Arg(1)
    ->Arg(allThreads())
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Processor time of the whole process, all threads together.
std::chrono::nanoseconds processTime()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

// One thread, then every thread, alternating, in wall-clock time; speedup is the first
// over the second. all_threads_cpu_ms is the processor time the threads took together:
// near one_thread_ms when the work divides well, so a speedup short of the thread count
// with it there means the machine, not the renderer, held the threads back.
void BM_RenderSpeedup(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const int threads = allThreads();
    const Scene scene(1, 1);
    Clock::duration one{}, all{};
    std::chrono::nanoseconds allCpu{};
    long long renders = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        render(scene, 1);
        const auto middle = Clock::now();
        const auto cpuBefore = processTime();
        render(scene, threads);
        allCpu += processTime() - cpuBefore;
        one += middle - start;
        all += Clock::now() - middle;
        ++renders;
    }
    const auto ms = [&](auto d) {
        return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(renders);
    };
    state.counters["threads"] = threads;
    state.counters["one_thread_ms"] = ms(one);
    state.counters["all_threads_ms"] = ms(all);
    state.counters["all_threads_cpu_ms"] = ms(allCpu);
    state.counters["speedup"] = ms(one) / ms(all);
}
BENCHMARK(BM_RenderSpeedup)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
