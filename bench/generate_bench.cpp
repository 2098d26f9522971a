// Whole headless pictures: GenerateImage of each generation type at full speed (no
// pacing), and a type 1 picture against the sum of its own 210,681 pipeline calls.
#include "bench_scene.h"
#include "thread_clock.h"

#include "program/generate_image.h"
#include "generator/pacer.h"
#include "generator/traversals.h"
#include "state/clock.h"

#include <benchmark/benchmark.h>

namespace mandalix::bench {
namespace {

// The moment every picture is generated at: its seed is kSceneSeed.
QDateTime pictureMoment() { return QDateTime(QDate(2026, 12, 8), QTime(12, 0, 0, 500)); }

// DrawPixel calls of one picture of generation type nac.
long long pipelineCalls(const WindowState& s, int nac)
{
    switch (nac) {
    case 2:
        return fromCentrePositions(s.sir, s.vis);
    case 3:
    case 4:
        return randomGrid(s.sir, s.vis).positions;
    default:
        return leftToRightPositions(s.sir, s.vis);
    }
}

bool generate(Scene& scene, const Clock& clock)
{
    Surfaces& surfaces = scene.surfaces;
    return GenerateImage(scene.state, surfaces.Picture1, surfaces.Picture2, surfaces.Picture3,
                         scene.rnd, clock.now(), noPacing());
}

// One picture of generation type nac, the same every time: the clock is stopped, so
// every picture has the same seed, parameters and random orders. Type 4 includes its
// noise pass; per_call is the picture's time over its DrawPixel calls.
void BM_GenerateImage(benchmark::State& state)
{
    const int nac = static_cast<int>(state.range(0));
    Scene scene(1, 1);
    scene.state.nac = nac;
    const FixedClock clock(pictureMoment());
    for (auto _ : state)
        generate(scene, clock);
    const long long calls = pipelineCalls(scene.state, nac);
    state.counters["calls"] = static_cast<double>(calls);
    state.counters["per_call"] = benchmark::Counter(
        static_cast<double>(calls),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["tip"] = scene.state.tip;
    state.counters["barv"] = scene.state.barv;
}
BENCHMARK(BM_GenerateImage)->DenseRange(1, 4)->ArgName("nac")->Unit(benchmark::kMillisecond);

// A type 1 picture and then its 210,681 DrawPixel calls alone (same parameters, same
// positions, same order, with the coordinates read from a table), alternating; the ratio
// is the picture's processor time over the calls'.
void BM_PictureOverPipeline(benchmark::State& state)
{
    using Clock = ThreadClock;
    Scene scene(1, 1);
    scene.state.nac = 1;
    const FixedClock clock(pictureMoment());
    Clock::duration picture{}, calls{};
    long long pictures = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        generate(scene, clock);
        const auto middle = Clock::now();
        paintPlainOrder(scene);
        picture += middle - start;
        calls += Clock::now() - middle;
        ++pictures;
    }
    state.counters["picture_ms"] = nsPer(picture, pictures) / 1e6;
    state.counters["calls_ms"] = nsPer(calls, pictures) / 1e6;
    state.counters["ratio"] = nsPer(picture, pictures) / nsPer(calls, pictures);
    state.counters["tip"] = scene.state.tip;
    state.counters["barv"] = scene.state.barv;
}
BENCHMARK(BM_PictureOverPipeline)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
