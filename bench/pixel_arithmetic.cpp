#include "pixel_arithmetic.h"

#include <cmath>

namespace mandalix::bench {

double palettePosition(const PixelFormulas& f, double x, double y)
{
    const double r = std::sqrt(x * x + y * y);
    const double fi = std::atan(y / (x + 0.000001));

    double re, gr, bl;
    switch (f.tip) {
    case 2: {
        re = f.komp1 * (std::sin(f.n3 * r) + 1);
        const double g = f.komp2 * (std::cos(f.n2 * r) + 1);
        const double logArgument = 2 * std::sin(f.n4 * r);
        if (!(logArgument > 0))
            return kNoPosition;
        gr = g * std::log(logArgument);
        bl = std::floor(f.komp3 * (std::sin(f.f1 * fi) + 1));
        break;
    }
    case 3:
        re = r * f.n1 * f.n3;
        gr = f.komp2 * (std::cos(f.n2 * r) + 1);
        bl = std::floor(f.komp3 * (std::sin(f.f1 * fi) + 1));
        break;
    case 4:
        re = std::floor(r * f.n1 * f.n3 * std::sin(f.f2 * fi));
        gr = f.komp2 * (std::cos(f.n2 * r) + 1);
        bl = std::floor(f.komp3 * (std::sin(f.f1 * fi) + 1) * (std::cos(f.f2 * r) + 1));
        break;
    default:
        re = f.komp1 * (std::sin(f.n1 * r) + 1);
        gr = f.komp2 * (std::cos(f.n2 * r) + 1);
        bl = std::floor(f.komp3 * (std::sin(f.f1 * fi) + 1));
        break;
    }

    double ba;
    switch (f.barv) {
    case 2:
        ba = re + gr + bl * std::sin(bl / f.baf01);
        break;
    case 3:
        ba = re + gr * std::sin(r * f.baf02) + bl * std::cos(bl / f.baf03);
        break;
    case 4:
        ba = 2 * (re + bl) + gr;
        break;
    case 5:
        ba = (re + gr) * (std::sin(bl / f.baf03) + 1) * std::log(1 + r);
        break;
    default:
        ba = re + gr + bl;
        break;
    }

    if (ba > 675)
        ba = 675;
    if (ba < 0)
        ba = 0;
    return std::floor(ba / 10) * 5;
}

} // namespace mandalix::bench
