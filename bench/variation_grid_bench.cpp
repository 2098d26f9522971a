// The variations grid: a parent and its children painted through the grid painter, from
// paint() until every cell is told, in real time; with the time until the first cell is
// told, for each way of sharing the pool's threads among the cells.
#include "bench_scene.h"

#include "base/work_pool.h"
#include "variations/grid_painter.h"
#include "variations/mutation.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

namespace mandalix::bench {
namespace {

// Arguments: the cells a side, a cell's side in pixels, the order (0: side by side, 1: one
// after another).
void BM_VariationGrid(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const int side = static_cast<int>(state.range(0));
    const QSize cellSize(static_cast<int>(state.range(1)), static_cast<int>(state.range(1)));
    const auto order = state.range(2) == 0 ? CellOrder::SideBySide : CellOrder::OneAfterAnother;
    const PictureRecord parent = sceneRecord(1, 1);
    std::vector<PictureRecord> records = children(parent, side * side - 1, kSceneSeed, 0.5, Locks());
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(records.size() / 2), parent);

    std::atomic<long long> firstCellNs{0};
    Clock::time_point begun;
    GridPainter painter(
        [&](const GridCell&) {
            long long none = 0;
            const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - begun).count();
            firstCellNs.compare_exchange_strong(none, ns);
        },
        order);
    double firstCellMs = 0;
    int generation = 0;
    for (auto _ : state) {
        firstCellNs = 0;
        begun = Clock::now();
        painter.paint(++generation, records, cellSize);
        if (!painter.waitIdleFor(std::chrono::minutes(1)))
            state.SkipWithError("the grid did not finish");
        firstCellMs += static_cast<double>(firstCellNs.load()) / 1e6;
    }
    state.counters["first_cell_ms"] = firstCellMs / static_cast<double>(state.iterations());
    state.counters["threads"] = sharedPool().maxThreads();
}
BENCHMARK(BM_VariationGrid)
    ->Args({3, 300, 0})->Args({3, 300, 1})->Args({5, 180, 0})->Args({5, 180, 1})
    ->ArgNames({"side", "cell_px", "one_after_another"})
    ->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
