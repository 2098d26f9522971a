// Soak: many pictures in a row, as a long slide show makes them, with the resident memory
// sampled. One run each: 1000 pictures through the program layer (headless, unpaced) and
// 200 through the window's command queue (the worker thread, pass duration zero). The
// memory must stay flat: the final figure within 5 MB of the one after the first 10
// pictures; more ends the benchmark with an error.
#include "app/command_worker.h"
#include "program/program.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <variant>

#include <unistd.h>

namespace mandalix::bench {
namespace {

constexpr double kAllowedGrowthMb = 5.0;
constexpr int kSettledAfter = 10;

double residentMb()
{
    long pages = 0;
    long resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The k-th picture of the show: the three ways to a new picture in turn, and now and
// then a save, so the files' path is soaked too.
Command commandOf(int k)
{
    if (k % 50 == 49)
        return cmd::SaveOnDiskD{};
    static const Command kPictures[] = {cmd::NewImageNewPalette{}, cmd::NewImageOldPalette{}, cmd::RepeatImage{}};
    return kPictures[k % 3];
}

void report(benchmark::State& state, double settled, double final, int pictures)
{
    state.counters["pictures"] = pictures;
    state.counters["rss_after_10_mb"] = settled;
    state.counters["rss_final_mb"] = final;
    state.counters["growth_mb"] = final - settled;
    if (final - settled > kAllowedGrowthMb) {
        char message[120];
        std::snprintf(message, sizeof message, "resident memory grew by %.1f MB", final - settled);
        state.SkipWithError(message);
    }
}

void BM_SoakProgram(benchmark::State& state)
{
    constexpr int kPictures = 1000;
    for (auto _ : state) {
        QTemporaryDir folder;
        const QDateTime start(QDate(2026, 12, 9), QTime(10, 0, 0));
        FixedClock clock(start);
        Program program(clock, Drives{folder.path(), folder.path()});
        runCommand(program, cmd::StartUp{}, noPacing());
        double settled = 0;
        int pictures = 0;
        for (int k = 0; pictures < kPictures; ++k) {
            clock.set(start.addMSecs(1500LL * k)); // a new seed and name for each picture
            const Command command = commandOf(k);
            (void)runCommand(program, command, noPacing());
            pictures += !std::holds_alternative<cmd::SaveOnDiskD>(command);
            if (pictures == kSettledAfter && settled == 0)
                settled = residentMb();
        }
        report(state, settled, residentMb(), pictures);
    }
}
BENCHMARK(BM_SoakProgram)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_SoakWindowQueue(benchmark::State& state)
{
    constexpr int kPictures = 200;
    for (auto _ : state) {
        QTemporaryDir folder;
        SystemClock clock;
        Program program(clock, Drives{folder.path(), folder.path()});
        std::atomic<int> done{0};
        std::atomic<double> settled{0};
        CommandWorker worker(
            program,
            [&](const Command&, const CommandResult&) {
                // The start-up picture counts as the first.
                if (++done == kSettledAfter)
                    settled = residentMb();
            },
            std::chrono::milliseconds(0));
        worker.post(cmd::StartUp{});
        for (int k = 1; k < kPictures; ++k)
            worker.post(commandOf(k % 49)); // pictures only
        if (!worker.waitUntilIdle(std::chrono::minutes(10))) {
            state.SkipWithError("the queue did not finish in 10 minutes");
            return;
        }
        report(state, settled, residentMb(), done);
        worker.stop();
    }
}
BENCHMARK(BM_SoakWindowQueue)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
} // namespace mandalix::bench
