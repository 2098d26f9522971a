// Soak: many pictures in a row, with the resident memory sampled. One run each: 1000
// pictures through the program layer (headless, unpaced), and 1000 through the window's
// command queue (the worker thread, pass duration zero) with the history kept in a
// temporary folder. The memory must stay flat once the undo steps (and the kept pictures)
// have reached their caps: the final figure within 5 MB of the one after 200 pictures;
// more ends the benchmark with an error.
#include "program/allocator_policy.h"
#include "program/command_worker.h"
#include "history/picture_history.h"
#include "program/program.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <variant>

#include <malloc.h>
#include <unistd.h>

namespace mandalix::bench {
namespace {

constexpr double kAllowedGrowthMb = 5.0;
constexpr int kSettledAfter = 200;

// What the program holds in the heap, as the allocator counts it: a figure that grows
// with the resident set is a leak, one that stays flat while the resident set grows is
// the allocator keeping freed memory.
double heapInUseMb()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

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
    state.counters["rss_after_200_mb"] = settled;
    state.counters["rss_final_mb"] = final;
    state.counters["growth_mb"] = final - settled;
    if (final - settled > kAllowedGrowthMb) {
        char message[160];
        std::snprintf(message, sizeof message, "resident memory grew by %.1f MB (%.1f to %.1f MB)",
                      final - settled, settled, final);
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
        Session program(clock, Drives{folder.path(), folder.path()});
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

// The window's path with the history on: every picture through the command worker, the
// one that gives way kept in a temporary history folder, both caps (undo steps and kept
// pictures) full well before the 200th picture.
void BM_SoakWindowQueue(benchmark::State& state)
{
    constexpr int kPictures = 1000;
    for (auto _ : state) {
        QTemporaryDir folder;
        SystemClock clock;
        Session program(clock, Drives{folder.path(), folder.path()});
        PictureHistory history(folder.filePath(QStringLiteral("history")));
        program.history = &history;
        history.start([](const HistoryNews&) {});
        std::atomic<int> done{0};
        CommandWorker worker(
        program.surfaces, commandsOf(program), [&](const Command&, const CommandResult&) { ++done; }, std::chrono::milliseconds(0));
        // Sampled only once the worker and the history are both idle, so no picture being
        // painted or kept is counted at one end and not at the other.
        const auto settle = [&] {
            return worker.waitUntilIdle(std::chrono::minutes(30))
                && history.waitUntilWritten(std::chrono::minutes(30));
        };
        double settled = 0;
        double heapSettled = 0;
        worker.post(cmd::StartUp{}); // the start-up picture counts as the first
        for (int k = 1; k < kPictures; ++k) {
            if (k == kSettledAfter) {
                if (!settle()) {
                    state.SkipWithError("the first pictures did not finish in 30 minutes");
                    return;
                }
                settled = residentMb();
                heapSettled = heapInUseMb();
            }
            // New pictures only: a repeat is the same picture and keeps no new file, so
            // this way the kept pictures reach their cap of 200 with the 200th picture.
            worker.post(k % 2 == 0 ? Command{cmd::NewImageNewPalette{}} : Command{cmd::NewImageOldPalette{}});
        }
        if (!settle()) {
            state.SkipWithError("the queue did not finish in 30 minutes");
            return;
        }
        const double final = residentMb();
        worker.stop();
        history.finish();
        state.counters["heap_after_200_mb"] = heapSettled;
        state.counters["heap_final_mb"] = heapInUseMb();
        std::fprintf(stderr, "heap in use after %d pictures: %.1f MB, at the end: %.1f MB\n",
                     kSettledAfter, heapSettled, heapInUseMb());
        report(state, settled, final, done);
    }
}
BENCHMARK(BM_SoakWindowQueue)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
} // namespace mandalix::bench
