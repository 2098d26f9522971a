// What the undo history costs: the resident memory that a hundred steps of whole new
// pictures add, and the time to capture one step (encoding Picture1 and Picture3) after a
// command. Pictures are painted at full speed from a clock a second apart each time.
#include "undo/session.h"
#include "undo/undo_stack.h"

#include <QFile>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace mandalix::bench {
namespace {

// The resident set of this process in bytes, from /proc/self/statm.
double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * 4096.0;
}

// Start-up prints the generation type's name, which needs an application object.
void ensureApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "mandalix_bench";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

struct Painter {
    Painter() { ensureApplication(); }

    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(12, 0))};
    Session program{clock, Drives{}};
    void newPicture()
    {
        clock.set(clock.now().addSecs(1));
        (void)runCommand(program, cmd::NewImageNewPalette{}, noPacing());
    }
};

void BM_HundredStepsResidentMemory(benchmark::State& state)
{
    for (auto _ : state) {
        Painter painter;
        (void)runCommand(painter.program, cmd::StartUp{}, noPacing());
        // A few pictures first, so what the painting itself allocates is in place.
        for (int k = 0; k < 3; ++k)
            painter.newPicture();
        const double before = residentBytes();
        for (std::size_t k = 0; k < kUndoSteps; ++k)
            painter.newPicture();
        const double added = residentBytes() - before;
        state.counters["rss_added_MB"] = added / 1e6;
        state.counters["steps_kept_MB"] = static_cast<double>(painter.program.steps.bytes()) / 1e6;
        state.counters["steps"] = static_cast<double>(painter.program.steps.size() - 1);
    }
}
BENCHMARK(BM_HundredStepsResidentMemory)->Iterations(1)->Unit(benchmark::kSecond);

void BM_CaptureStep(benchmark::State& state)
{
    Painter painter;
    (void)runCommand(painter.program, cmd::StartUp{}, noPacing());
    for (auto _ : state)
        benchmark::DoNotOptimize(
            captureStep(painter.program.surfaces, painter.program.picture, painter.program.strip));
}
BENCHMARK(BM_CaptureStep)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
