// How soon the variations window answers a click on a child while a grid paints: from the
// press until the new generation is on show (the child in the middle, the grid repainted)
// on the GUI thread, while the pool paints the generation before it. 5 x 5 cells of
// 240 px, so a generation paints for far longer than the pause between clicks.
#include "bench_scene.h"

#include "app/variations_window.h"
#include "variations/variation_settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <thread>

namespace mandalix::bench {
namespace {

void clickOn(QWidget* widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

void BM_VariationsClickWhilePainting(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("variations.ini"));
    (void)writeVariationSettings(settings, {Locks(), 5, kDefaultStrength});
    const PictureRecord parent = sceneRecord(1, 1);
    VariationsWindow window(settings, [&] { return parent; }, nullptr);
    window.resize(5 * 240 + 40, 5 * 240 + 160);
    window.openFor(parent);
    QApplication::processEvents();
    std::vector<double> answers;
    for (auto _ : state) {
        const Clock::time_point pressed = Clock::now();
        clickOn(window.grid()->cell(0));
        window.grid()->repaint();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
        state.SetIterationTime(ms / 1000.0);
        answers.push_back(ms);
        // Let the new generation's first cells come in, as a user's next click would.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        QApplication::processEvents();
        if (window.cellsWaiting() == 0)
            state.SkipWithError("the grid was not painting at the click");
    }
    std::sort(answers.begin(), answers.end());
    state.counters["p95_ms"] = answers[answers.size() * 95 / 100];
    state.counters["longest_ms"] = answers.back();
}
BENCHMARK(BM_VariationsClickWhilePainting)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
