// One timed video export for the video benchmarks: wall-clock and processor time (every
// thread's) from the writer's call to the file in place, and the process's resident
// memory before it and at its highest, sampled at each frame the writer reports.
#pragma once

#include "process_usage.h"

#include "base/result.h"
#include "video/video_progress.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <chrono>

namespace mandalix::bench {

struct ExportRun {
    double seconds = 0;
    double cpuSeconds = 0;
    double residentBefore = 0;
    double residentPeak = 0;
};

// Calls write(progress) once for each iteration of `state`, timing it into `run`. False,
// with the benchmark skipped and the writer's message, when a write failed.
template <typename Write>
bool timeExports(benchmark::State& state, ExportRun& run, Write&& write)
{
    for (auto _ : state) {
        run.residentBefore = residentMb();
        run.residentPeak = run.residentBefore;
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processSeconds();
        const Result<> written = write(VideoProgress([&run](long long, long long) {
            run.residentPeak = std::max(run.residentPeak, residentMb());
        }));
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        run.cpuSeconds = processSeconds() - cpuStart;
        if (!written.ok) {
            state.SkipWithError(written.message.toStdString().c_str());
            return false;
        }
    }
    return true;
}

// The counters of an export of `shownSeconds` of video into `path`.
inline void reportExport(benchmark::State& state, const ExportRun& run, double shownSeconds, const QString& path)
{
    state.counters["encode_s"] = run.seconds;
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["x_realtime"] = shownSeconds / run.seconds;
    state.counters["file_mb"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
    state.counters["rss_before_mb"] = run.residentBefore;
    state.counters["rss_peak_mb"] = run.residentPeak;
}

} // namespace mandalix::bench
