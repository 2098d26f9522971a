// What every benchmark paints with: the window state with a palette strip and picture
// parameters drawn from a fixed seed, as the program draws them, and the centred
// coordinates of the 459 x 459 grid. One scene per benchmark run, on its thread.
#pragma once

#include "pixel_arithmetic.h"

#include "generator/rnd.h"
#include "program/surfaces.h"
#include "state/picture_record.h"
#include "state/window_state.h"

#include <vector>

namespace mandalix::bench {

// The seed of every scene: the seconds since midnight of 12:00:00.5.
inline constexpr float kSceneSeed = 43200.5f;

struct Scene {
    // Draws a strip into Picture3 and a picture's parameters, then sets tip and barv.
    Scene(int tip, int barv);

    WindowState state;
    Surfaces surfaces;
    Rnd rnd{kSceneSeed};
    // x of every column and y of every row, 0..sir and 0..vis.
    std::vector<double> xs;
    std::vector<double> ys;

    long long positions() const
    {
        return static_cast<long long>(xs.size()) * static_cast<long long>(ys.size());
    }
    PixelFormulas formulas() const;
};

// The record of the scene's strip and parameters with formula set `tip`, barv 1, in
// generation type `nac`, seeded with kSceneSeed: what the engine's benchmarks paint.
PictureRecord sceneRecord(int tip, int nac);

// DrawPixel for every position of the grid, columns left to right, each top to bottom;
// returns how many pixels were painted.
long long paintPlainOrder(Scene& scene);

// The baseline over the same positions in the same order: palettePosition into `out`,
// which must hold scene.positions() values.
void computePlainOrder(const Scene& scene, double* out);

} // namespace mandalix::bench
