// One frame of the screensaver on a 16:9 screen of 1080 or 2160 rows: the slide show's
// square drawn into the window's backing store and handed to the display, what happens
// each time the slide show publishes, while the slide show paints beside it as it does
// on screen. On the offscreen platform (the default) that is the copy alone; with
// QT_QPA_PLATFORM=xcb on an X display at least as large, the copy and the flush to X.
#include "app/screensaver_window.h"

#include "program/command_worker.h"
#include "state/clock.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <algorithm>
#include <thread>
#include <vector>

namespace mandalix::bench {
namespace {

double percentileOf(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// Argument: the screen's height.
void BM_ScreensaverFrame(benchmark::State& state)
{
    const int height = static_cast<int>(state.range(0));
    const SystemClock clock;
    SlideShowSettings settings;
    settings.passDuration = kPassDuration;
    settings.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    ScreensaverWindow window(clock, settings);
    window.setFlag(Qt::X11BypassWindowManagerHint);
    window.setGeometry(0, 0, height * 16 / 9, height);
    window.show();
    const QDeadlineTimer deadline(10000);
    while (!window.isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!window.isExposed() || window.frame().height() != height) {
        state.SkipWithError("the window was not shown at its size");
        return;
    }
    std::vector<double> frameMs;
    for (auto _ : state) {
        window.update(window.frame());
        QElapsedTimer took;
        took.start();
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&window, &request);
        frameMs.push_back(static_cast<double>(took.nsecsElapsed()) / 1e6);
    }
    state.counters["frame_p50_ms"] = percentileOf(frameMs, 0.5);
    state.counters["frame_p95_ms"] = percentileOf(frameMs, 0.95);
    state.counters["frame_max_ms"] = percentileOf(frameMs, 1.0);
}
BENCHMARK(BM_ScreensaverFrame)->Arg(1080)->Arg(2160)->ArgNames({"screen"})->Iterations(300)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
