// The arithmetic of one pixel alone, as the benchmarks' baseline: the pixel pipeline's
// formulas in the pipeline's order, from centred coordinates to the strip column offset
// pozic, with no window state, no surface and no palette read. Pure; safe on any thread.
// It must stay the pipeline's arithmetic: bench_main checks it against DrawPixel's pozic.
#pragma once

namespace mandalix::bench {

// The picture parameters the formulas read; tip and barv are whole numbers 1..4, 1..5.
struct PixelFormulas {
    int tip = 1;
    int barv = 1;
    double f1 = 0, f2 = 0;
    double n1 = 0, n2 = 0, n3 = 0, n4 = 0;
    double komp1 = 0, komp2 = 0, komp3 = 0;
    double baf01 = 0, baf02 = 0, baf03 = 0;
};

// What a pixel without a palette position gives (the logarithm of tip 2 where
// 2 * sin(n4 * r) <= 0).
inline constexpr double kNoPosition = -1;

// pozic of the pixel at centred coordinates (x, y), or kNoPosition.
double palettePosition(const PixelFormulas& f, double x, double y);

} // namespace mandalix::bench
