// Save as at 16 times the density (7248 x 7248) against the renderer's path for the same
// record, side by side on the same threads: paintExport and its write, as the window's
// exporter runs them, and renderPicture and its write, as mandalix-render runs them,
// alternating, in wall-clock time. The peak resident memory and the processor time of
// each are measured in a child forked for it, which runs that path once and reads its
// VmHWM; both children start from the same parent, so their figures share one baseline,
// reported beside them.
#include "export/picture_export.h"
#include "output/picture_png.h"
#include "render_job.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mandalix::bench {
namespace {

constexpr int kScale = 16;
// A picture whose pipeline fails nowhere, and one whose pipeline fails at 9223 of the
// window's positions, each showing its noise colour: too many colours for a table, so
// Save as writes that one in RGB.
constexpr float kSeeds[] = {3000.25f, 43200.5f};

// A figure of this process's /proc/self/status, in kB: "VmHWM" or "VmRSS".
long statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith(field))
            return line.mid(static_cast<int>(qstrlen(field)) + 1).trimmed().split(' ').value(0).toLong();
    return 0;
}

struct ChildRun {
    long peakKb = 0; // 0 when the path failed
    double cpuSeconds = 0; // of every thread of the child, less sensitive to a busy machine
};

// Runs `path` once in a forked child: its peak resident memory and processor time.
ChildRun runInChild(const std::function<bool()>& path)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        const long peak = path() ? statusKb("VmHWM:") : 0;
        (void)!write(pipeEnds[1], &peak, sizeof peak);
        _exit(0);
    }
    close(pipeEnds[1]);
    ChildRun run;
    if (pid < 0 || read(pipeEnds[0], &run.peakKb, sizeof run.peakKb) != sizeof run.peakKb)
        run.peakKb = 0;
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid)
        run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
            + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return run;
}

struct Picture {
    PictureRecord record;
    QImage shown; // the window's picture of the record
};

Picture windowPicture(float seed)
{
    RenderRequest request;
    request.seed = seed;
    request.moment = momentOfSeed(QDate(2026, 12, 9), seed);
    RenderedPicture rendered = renderPicture(request, noPacing());
    return {rendered.record, rendered.picture};
}

// What mandalix-render --scale 16 does: paint, recolour, write with the record.
bool renderAndWrite(const Picture& picture, const QString& path, int threads)
{
    RenderRequest request;
    request.recorded = picture.record;
    request.scale = kScale;
    request.threads = threads;
    RenderedPicture rendered = renderPicture(request, noPacing());
    OutputFiles files;
    const WriteResult added = addPicturePng(files, path, std::move(rendered.picture), picture.record);
    return added.ok && files.commit().ok;
}

// What Save as at 7248 x 7248 does on the export queue.
bool exportAndWrite(const Picture& picture, const QString& path, int threads)
{
    const std::atomic<bool> goOn{false};
    const QSize size(kPictureSizePx * kScale, kPictureSizePx * kScale);
    const ExportPicture painted = paintExportPicture(picture.record, picture.shown, size, threads, goOn);
    return !painted.indices.isNull() && writePicturePng(path, pngRowsOf(painted), picture.record, goOn).ok;
}

double secondsOf(const std::function<bool()>& path, bool& ok)
{
    const auto start = std::chrono::steady_clock::now();
    ok = path() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_SaveAsAgainstRenderer16(benchmark::State& state)
{
    const Picture picture = windowPicture(kSeeds[state.range(0)]);
    const int threads = static_cast<int>(state.range(1));
    QTemporaryDir dir;
    const QString rendererPng = dir.filePath(QStringLiteral("renderer.png"));
    const QString exportPng = dir.filePath(QStringLiteral("export.png"));
    const auto renderer = [&] { return renderAndWrite(picture, rendererPng, threads); };
    const auto exporter = [&] { return exportAndWrite(picture, exportPng, threads); };

    const long baselineKb = statusKb("VmRSS:");
    const ChildRun rendererChild = runInChild(renderer);
    const ChildRun exportChild = runInChild(exporter);
    const long rendererPeakKb = rendererChild.peakKb;
    const long exportPeakKb = exportChild.peakKb;
    double rendererSeconds = 0, exportSeconds = 0;
    long long runs = 0;
    bool ok = rendererPeakKb > 0 && exportPeakKb > 0;
    for (auto _ : state) {
        rendererSeconds += secondsOf(renderer, ok);
        exportSeconds += secondsOf(exporter, ok);
        ++runs;
    }
    if (!ok) {
        state.SkipWithError("a path failed");
        return;
    }
    state.counters["renderer_s"] = rendererSeconds / static_cast<double>(runs);
    state.counters["export_s"] = exportSeconds / static_cast<double>(runs);
    state.counters["ratio"] = exportSeconds / rendererSeconds;
    state.counters["cpu_ratio"] = exportChild.cpuSeconds / rendererChild.cpuSeconds;
    state.counters["renderer_peak_mb"] = static_cast<double>(rendererPeakKb) / 1024;
    state.counters["export_peak_mb"] = static_cast<double>(exportPeakKb) / 1024;
    state.counters["peak_ratio"] = static_cast<double>(exportPeakKb) / static_cast<double>(rendererPeakKb);
    state.counters["baseline_mb"] = static_cast<double>(baselineKb) / 1024;
    state.counters["renderer_png_mb"] = static_cast<double>(QFile(rendererPng).size()) / (1 << 20);
    state.counters["export_png_mb"] = static_cast<double>(QFile(exportPng).size()) / (1 << 20);
}
BENCHMARK(BM_SaveAsAgainstRenderer16)
    ->ArgsProduct({{0, 1}, {1, 2}})
    ->ArgNames({"fails", "threads"})
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace
} // namespace mandalix::bench
