// A 16x export end to end: mandalix-render --scale 16 --threads 2 writing its PNG, run as
// a child process so that its own peak resident memory is measured, against the naive
// arithmetic of the same picture's pixels on two threads, alternating, in wall-clock time.
#include "scaled_arithmetic.h"

#include "output/params_file.h"
#include "state/window_state.h"
#include "surface/surface_sizes.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <chrono>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace mandalix::bench {
namespace {

constexpr int kScale = 16;
constexpr const char* kSeed = "43200.5";

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    long peakKb = 0;
};

ChildRun runRenderer(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    std::string program = MANDALIX_RENDER_EXECUTABLE;
    argv.push_back(program.data());
    std::vector<std::string> own = arguments;
    for (std::string& a : own)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return {};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return {};
    ChildRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

void BM_Export16(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string params = (dir.path() + QStringLiteral("/picture.json")).toStdString();
    const std::string out = (dir.path() + QStringLiteral("/picture.png")).toStdString();
    // The picture's parameters, for the arithmetic of the same pixels.
    if (!runRenderer({"--seed", kSeed, "--params-out", params, out}).ok) {
        state.SkipWithError("mandalix-render failed");
        return;
    }
    const ParamsRead read = readParamsFile(QString::fromStdString(params));
    if (!read.ok) {
        state.SkipWithError("the parameters file could not be read");
        return;
    }
    WindowState picture;
    setParameters(picture, read.value.picture);
    const PixelFormulas f{static_cast<int>(picture.tip), static_cast<int>(picture.barv), picture.f1, picture.f2,
                          picture.n1, picture.n2, picture.n3, picture.n4, picture.komp1, picture.komp2,
                          picture.komp3, picture.baf01, picture.baf02, picture.baf03};

    double exportSeconds = 0, arithmeticSeconds = 0;
    long peakKb = 0;
    long long runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(computeScaled(picture, f, kPictureSizePx * kScale, 2));
        arithmeticSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const ChildRun run = runRenderer({"--seed", kSeed, "--scale", "16", "--threads", "2", out});
        if (!run.ok) {
            state.SkipWithError("mandalix-render failed");
            return;
        }
        exportSeconds += run.seconds;
        peakKb = std::max(peakKb, run.peakKb);
        ++runs;
    }
    state.counters["tip"] = picture.tip;
    state.counters["barv"] = picture.barv;
    state.counters["export_s"] = exportSeconds / static_cast<double>(runs);
    state.counters["arith_2_threads_s"] = arithmeticSeconds / static_cast<double>(runs);
    state.counters["ratio"] = exportSeconds / arithmeticSeconds;
    state.counters["peak_mb"] = static_cast<double>(peakKb) / 1024;
}
BENCHMARK(BM_Export16)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace mandalix::bench
