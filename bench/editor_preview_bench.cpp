// How soon the editor's preview shows a change: from an edit (a slider's new value) until
// the frame engine's picture of the edited record is on show, 453 x 453, for each formula
// set, through the editor window on the offscreen platform.
#include "bench_scene.h"

#include "app/editor_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <chrono>

namespace mandalix::bench {
namespace {

// The record's place of n1 among the editor's numbers.
int n1Index()
{
    for (int k = 0; k < kEditableNumbers; ++k)
        if (qstrcmp(editableNumbers()[static_cast<std::size_t>(k)].code, "n1") == 0)
            return k;
    return -1;
}

void BM_EditorPreview(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    PictureRecord record = sceneRecord(static_cast<int>(state.range(0)), 1);
    EditorWindow editor(QSize(453, 453), nullptr);
    editor.openFor(record);
    const int n1 = n1Index();
    std::vector<double> latencies;
    double value = 10;
    for (auto _ : state) {
        value = value >= 29 ? 10 : value + 0.37;
        const Clock::time_point edited = Clock::now();
        editor.edit(n1, value);
        while (editor.isPreviewPainting())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - edited).count();
        state.SetIterationTime(ms / 1000.0);
        latencies.push_back(ms);
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = latencies[latencies.size() / 2];
    state.counters["p95_ms"] = latencies[latencies.size() * 95 / 100];
}
BENCHMARK(BM_EditorPreview)->DenseRange(1, 4)->ArgName("tip")->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
