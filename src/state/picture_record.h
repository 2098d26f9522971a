// A picture as a value: everything that makes it what it is, so that it can be kept,
// compared and painted again. The window's picture on show, a renderer's picture and a
// parameters file all hold one. Plain values, safe on any thread; nothing here fails.
#pragma once

#include "state/lineage.h"
#include "surface/colour.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

namespace mandalix {

// The three sine waves of one palette strip, red, green, blue in that order.
struct PaletteWaves {
    std::array<double, 3> period{};     // whole numbers 20..39, held in single precision
    std::array<double, 3> phase{};      // [0, 6.28)
    std::array<double, 3> wavelength{}; // single precision, [period, 2 * period)

    bool operator==(const PaletteWaves&) const = default;
};

// The seventeen picture parameters, drawn for every new picture unless it repeats the
// last one.
struct PictureParameters {
    double tip = 0;
    double barv = 0;
    double f1 = 0;
    double f2 = 0;
    double n1 = 0;
    double n2 = 0;
    double n3 = 0;
    double n4 = 0;
    double komp1 = 0;
    double komp2 = 0;
    double komp3 = 0;
    double ba1 = 0;
    double ba2 = 0;
    double ba3 = 0;
    double baf01 = 0;
    double baf02 = 0;
    double baf03 = 0;

    bool operator==(const PictureParameters&) const = default;
};

// One recolouring: every pixel of colour `from` became `to`.
struct ColourReplacement {
    Colour from = kBlack;
    Colour to = kBlack;

    bool operator==(const ColourReplacement&) const = default;
};

// The half-extent of the coordinate window a picture shows (its polx = poly): 3 for
// every picture drawn, smaller when zoomed in. Bounded so the coordinates stay finite
// and distinct.
inline constexpr double kStartView = 3;
inline constexpr double kMinView = 1e-6;
inline constexpr double kMaxView = 1e6;

// One picture: the moment it began, the seed and the name taken from that one moment,
// the generation type it was painted in, the strip's waves it took its colours from, its
// parameters, and the recolourings made on it since, in order.
struct PictureRecord {
    QDateTime moment;
    float seed = 0; // seconds since midnight of `moment`, single precision
    QString imeslike;
    double nac = 4;
    // True when the picture repeated the parameters of the one before instead of drawing
    // them: the generator then went straight from the seed to the traversal.
    bool isRepeat = false;
    PaletteWaves palette;
    PictureParameters picture;
    std::vector<ColourReplacement> replacements;
    // The half-extent of the coordinate window: kStartView unless zoomed.
    double view = kStartView;
    // Where the picture came from; drawn unless it was mutated, bred or adopted.
    Lineage lineage;

    bool operator==(const PictureRecord&) const = default;
};

// Whether two records are the same picture: the same generation type, strip, parameters
// and view, whatever its name, moment, seed, recolourings or lineage. A "repeat  image" with
// nothing changed is the same picture; a recolouring does not make another. The history
// keeps one file per picture.
inline bool isSamePicture(const PictureRecord& a, const PictureRecord& b)
{
    return a.nac == b.nac && a.palette == b.palette && a.picture == b.picture && a.view == b.view;
}

} // namespace mandalix
