// Entry point of the benchmarks. Before timing anything it checks that the baseline
// still computes the pipeline's palette positions, so the two cannot drift apart
// unnoticed; a disagreement ends the run with a message and exit status 1.
#include "bench_scene.h"

#include "generator/pixel_pipeline.h"
#include "program/allocator_policy.h"
#include "surface/interface_font.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>

namespace mandalix::bench {
namespace {

// Every 7th position of the grid, and the whole centre column and row (where fi is
// near +-pi/2 and the centre pixel is). Returns the number of disagreements.
long long countDisagreements(int tip, int barv, long long& compared)
{
    Scene scene(tip, barv);
    WindowState& s = scene.state;
    const PixelFormulas f = scene.formulas();
    const int columns = static_cast<int>(scene.xs.size());
    const int rows = static_cast<int>(scene.ys.size());
    long long wrong = 0;
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            const bool sampled = (i * rows + j) % 7 == 0 || i == columns / 2 || j == rows / 2;
            if (!sampled)
                continue;
            s.i = i;
            s.j = j;
            s.x = scene.xs[i];
            s.y = scene.ys[j];
            s.pozic = kNoPosition;
            const bool painted = DrawPixel(s, scene.surfaces.Picture3, scene.surfaces.Picture1);
            const double expected = painted ? s.pozic : kNoPosition;
            const double baseline = palettePosition(f, s.x, s.y);
            ++compared;
            if (baseline != expected && wrong++ < 5)
                std::fprintf(stderr, "tip %d barv %d at (%d, %d): DrawPixel pozic %g, baseline %g\n",
                             tip, barv, i, j, expected, baseline);
        }
    }
    return wrong;
}

bool baselineAgrees()
{
    long long wrong = 0;
    long long compared = 0;
    for (int tip = 1; tip <= 4; ++tip)
        for (int barv = 1; barv <= 5; ++barv)
            wrong += countDisagreements(tip, barv, compared);
    if (wrong != 0) {
        std::fprintf(stderr, "The baseline disagrees with DrawPixel on %lld of %lld pixels.\n",
                     wrong, compared);
        return false;
    }
    std::fprintf(stderr, "Baseline agrees with DrawPixel on %lld sampled pixels.\n", compared);
    return true;
}

} // namespace
} // namespace mandalix::bench

int main(int argc, char** argv)
{
    // The allocator as the window program sets it, first thing, so the soak benchmarks
    // measure the program's own memory.
    mandalix::returnPictureBlocksToTheSystem();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The program's texts (the generation type's caption, the help panel) need fonts,
    // and fonts need the application object; no display is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // the variations benchmark drives a window
    QGuiApplication::setFont(mandalix::interfaceFont());
    if (!mandalix::bench::baselineAgrees())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
