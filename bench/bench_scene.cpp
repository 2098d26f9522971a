#include "bench_scene.h"

#include "generator/picture_parameters.h"
#include "generator/pixel_pipeline.h"
#include "generator/traversals.h"
#include "palette/palette_strip.h"

namespace mandalix::bench {

Scene::Scene(int tip, int barv)
{
    DrawPalette(state, surfaces.Picture3, rnd);
    drawPictureParameters(state, rnd);
    state.tip = tip;
    state.barv = barv;
    for (double i = 0; i <= state.sir; ++i)
        xs.push_back(columnToX(state, i));
    for (double j = 0; j <= state.vis; ++j)
        ys.push_back(rowToY(state, j));
}

PixelFormulas Scene::formulas() const
{
    const WindowState& s = state;
    return {static_cast<int>(s.tip), static_cast<int>(s.barv), s.f1, s.f2, s.n1, s.n2, s.n3,
            s.n4, s.komp1, s.komp2, s.komp3, s.baf01, s.baf02, s.baf03};
}

PictureRecord sceneRecord(int tip, int nac)
{
    PictureRecord record;
    Rnd rnd(kSceneSeed);
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    record.picture.tip = tip;
    record.picture.barv = 1;
    record.nac = nac;
    record.seed = kSceneSeed;
    return record;
}

long long paintPlainOrder(Scene& scene)
{
    WindowState& s = scene.state;
    long long painted = 0;
    const int columns = static_cast<int>(scene.xs.size());
    const int rows = static_cast<int>(scene.ys.size());
    for (int i = 0; i < columns; ++i) {
        s.i = i;
        s.x = scene.xs[i];
        for (int j = 0; j < rows; ++j) {
            s.j = j;
            s.y = scene.ys[j];
            painted += DrawPixel(s, scene.surfaces.Picture3, scene.surfaces.Picture1);
        }
    }
    return painted;
}

void computePlainOrder(const Scene& scene, double* out)
{
    const PixelFormulas f = scene.formulas();
    for (const double x : scene.xs)
        for (const double y : scene.ys)
            *out++ = palettePosition(f, x, y);
}

} // namespace mandalix::bench
