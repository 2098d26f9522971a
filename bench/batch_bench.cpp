// A --count batch of the renderer: 100 new pictures at 453 x 453 and at 1920 x 1080 written
// into a folder, on one thread and on two, side by side in one run; pictures a second and
// the speed-up of two threads over one.
#include "batch_run.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <chrono>

namespace mandalix::bench {
namespace {

constexpr int kPictures = 100;

// Seconds the batch took on `threads` threads, into a fresh folder.
double batchSeconds(QSize size, int threads)
{
    QTemporaryDir dir;
    RenderOptions options;
    options.mode = RenderMode::Batch;
    options.count = kPictures;
    options.outDir = dir.path();
    RenderRequest first;
    first.seed = 1000;
    first.moment = momentOfSeed(QDate(2026, 12, 9), first.seed);
    first.size = size;
    ProgressLine silent(false, [](const QByteArray&) { });
    const auto start = std::chrono::steady_clock::now();
    const BatchOutcome outcome = runBatch(options, first, threads, silent);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome.written != kPictures)
        return -1;
    return seconds;
}

void BM_Batch(benchmark::State& state)
{
    const QSize size = state.range(0) == 0 ? QSize(453, 453) : QSize(1920, 1080);
    double one = 0;
    double two = 0;
    for (auto _ : state) {
        one = batchSeconds(size, 1);
        two = batchSeconds(size, 2);
    }
    state.counters["one_thread_s"] = one;
    state.counters["two_threads_s"] = two;
    state.counters["pictures_per_s_one"] = kPictures / one;
    state.counters["pictures_per_s_two"] = kPictures / two;
    state.counters["speedup"] = one / two;
}
BENCHMARK(BM_Batch)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
} // namespace mandalix::bench
