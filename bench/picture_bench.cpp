// Whole-picture work of the core: one random pass of DrawPixel, the colour replacement
// scan and a save of the picture into a temporary folder.
#include "bench_scene.h"

#include "generator/pacer.h"
#include "generator/pixel_pipeline.h"
#include "generator/traversals.h"
#include "output/picture_save.h"
#include "palette/colour_replace.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <vector>

namespace mandalix::bench {
namespace {

benchmark::Counter perPosition(long long positions)
{
    return benchmark::Counter(static_cast<double>(positions),
                              benchmark::Counter::kIsIterationInvariantRate
                                  | benchmark::Counter::kInvert);
}

// How many numbers `from` must draw to stand where `to` stands: the first offset at
// which the next four numbers of both agree (a false match of 4 x 24 bits is beyond
// belief).
long long drawsBetween(Rnd from, const Rnd& to)
{
    Rnd ahead = to;
    std::array<float, 4> target{};
    for (float& number : target)
        number = ahead.next();
    std::array<float, 4> window{};
    for (float& number : window)
        number = from.next();
    for (long long offset = 0;; ++offset) {
        bool same = true;
        for (int k = 0; k < 4 && same; ++k)
            same = window[(offset + k) % 4] == target[k];
        if (same)
            return offset;
        window[offset % 4] = from.next();
    }
}

// One pass of "random point after point" painting with DrawPixel, from the same seed
// every time.
void BM_RandomPass(benchmark::State& state)
{
    Scene scene(1, 1);
    WindowState& s = scene.state;
    Surfaces& surfaces = scene.surfaces;
    const auto paint = [&] {
        scene.rnd.Randomize(kSceneSeed);
        paintRandomPass(s, scene.rnd, noPacing(),
                        [&] { (void)DrawPixel(s, surfaces.Picture3, surfaces.Picture1); });
    };
    for (auto _ : state)
        paint();

    paint();
    const Rnd after = scene.rnd;
    const long long positions = randomGrid(s.sir, s.vis).positions;
    state.counters["per_position"] = perPosition(positions);
    state.counters["draws_per_position"] =
        static_cast<double>(drawsBetween(Rnd(kSceneSeed), after)) / static_cast<double>(positions);
}
BENCHMARK(BM_RandomPass)->Unit(benchmark::kMillisecond);

// A press on the picture: every pixel of the pressed colour takes the picked colour.
// Successive presses on the same pixel turn its colour white and back, so every
// iteration scans the same picture and rewrites the same pixels.
void BM_ColourReplace(benchmark::State& state)
{
    Scene scene(1, 1);
    paintPlainOrder(scene);
    WindowState& s = scene.state;
    Surface& picture1 = scene.surfaces.Picture1;
    constexpr int kPressX = 100, kPressY = 100;
    const Colour pressed = picture1.Point(kPressX, kPressY);
    long long matches = 0;
    for (int x = 0; x < picture1.width(); ++x)
        for (int y = 0; y < picture1.height(); ++y)
            matches += picture1.Point(x, y) == pressed;
    bool isWhite = false;
    for (auto _ : state) {
        s.color = isWhite ? pressed : kWhite;
        ReplaceColour(s, picture1, kPressX, kPressY);
        isWhite = !isWhite;
    }
    state.counters["per_position"] =
        perPosition(static_cast<long long>((s.sir + 1) * (s.vis + 1)));
    state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_ColourReplace)->Unit(benchmark::kMillisecond);

// A record's longest list of recolourings, 1000, painted again: the picture's colours
// passed round in a ring, so every one of them moves many times; one scan for all.
void BM_ColourReplaceList(benchmark::State& state)
{
    Scene scene(1, 1);
    paintPlainOrder(scene);
    WindowState& s = scene.state;
    Surface& picture1 = scene.surfaces.Picture1;
    std::vector<Colour> colours;
    for (int x = 0; x < picture1.width(); x += 7)
        for (int y = 0; y < picture1.height(); y += 7)
            if (const Colour c = picture1.Point(x, y); std::find(colours.begin(), colours.end(), c) == colours.end())
                colours.push_back(c);
    std::vector<ColourReplacement> list;
    for (std::size_t k = 0; list.size() < 1000; ++k)
        list.push_back({colours[k % colours.size()], colours[(k + 1) % colours.size()]});
    for (auto _ : state)
        replaceColours(s, picture1, list);
    state.counters["recolourings"] = static_cast<double>(list.size());
}
BENCHMARK(BM_ColourReplaceList)->Unit(benchmark::kMillisecond);

// "save on disk": the copy into Picture2 and the bitmap written (aside, then renamed over
// the file of the previous iteration) in a temporary folder.
void BM_Save(benchmark::State& state)
{
    Scene scene(1, 1);
    paintPlainOrder(scene);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    scene.state.imeslike = QStringLiteral("T20261208120000");
    for (auto _ : state) {
        const SaveResult result = savePicture(scene.state, scene.surfaces.Picture1, scene.surfaces.Picture2, folder.path(), false);
        if (!result.ok) {
            state.SkipWithError(result.message.toLocal8Bit().constData());
            return;
        }
    }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mandalix::bench
