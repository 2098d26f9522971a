// The names of a record's fields in the parameters file, shared by its writer and its
// reader so the two cannot drift apart. Constant tables; any thread.
#pragma once

#include "state/picture_record.h"

#include <array>

namespace mandalix {

struct ParameterField {
    const char* name;
    double PictureParameters::*member;
};

// The seventeen parameters in the order they are drawn.
inline constexpr ParameterField kParameterFields[] = {
    {"tip", &PictureParameters::tip},
    {"barv", &PictureParameters::barv},
    {"f1", &PictureParameters::f1},
    {"f2", &PictureParameters::f2},
    {"n1", &PictureParameters::n1},
    {"n2", &PictureParameters::n2},
    {"n3", &PictureParameters::n3},
    {"n4", &PictureParameters::n4},
    {"komp1", &PictureParameters::komp1},
    {"komp2", &PictureParameters::komp2},
    {"komp3", &PictureParameters::komp3},
    {"ba1", &PictureParameters::ba1},
    {"ba2", &PictureParameters::ba2},
    {"ba3", &PictureParameters::ba3},
    {"baf01", &PictureParameters::baf01},
    {"baf02", &PictureParameters::baf02},
    {"baf03", &PictureParameters::baf03},
};

struct WaveField {
    const char* name;
    std::array<double, 3> PaletteWaves::*member;
};

inline constexpr WaveField kWaveFields[] = {
    {"period", &PaletteWaves::period},
    {"phase", &PaletteWaves::phase},
    {"wavelength", &PaletteWaves::wavelength},
};

} // namespace mandalix
