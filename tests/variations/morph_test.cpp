// The morph's weight curve and the records between two pictures: exact ends, the whole
// numbers switching at the middle, the continuous ones on their line, the view geometric.
#include "variations/morph.h"

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mandalix {
namespace {

PictureRecord drawnRecord(float seed, double nac, double view, const QString& name)
{
    Rnd rnd(seed);
    PictureRecord record;
    record.seed = seed;
    record.imeslike = name;
    record.nac = nac;
    record.view = view;
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    return record;
}

TEST(Morph, WeightRunsZeroToOneAndBackTheSameToTheBit)
{
    for (const long long frames : {2LL, 4LL, 10LL, 300LL, 72000LL}) {
        SCOPED_TRACE(frames);
        EXPECT_EQ(morphWeight(0, frames), 0.0);
        EXPECT_EQ(morphWeight(frames / 2, frames), 1.0);
        for (long long k = 1; k <= frames / 2; ++k) {
            EXPECT_EQ(morphWeight(k, frames), morphWeight(frames - k, frames)) << k;
            ASSERT_GT(morphWeight(k, frames), morphWeight(k - 1, frames)) << k;
        }
    }
    EXPECT_NEAR(morphWeight(75, 300), 0.5, 1e-15) << "a quarter of the loop is halfway";
}

TEST(Morph, RecordsBetweenTwoPictures)
{
    PictureRecord a = drawnRecord(1234.5f, 1, 3, QStringLiteral("T20261209101500"));
    a.picture.f1 = 12;
    a.picture.f2 = 4;
    a.isRepeat = true;
    a.replacements = {{kBlack, rgbColour(10, 20, 30)}};
    a.lineage = Lineage::mutatedFrom(QStringLiteral("T20261209100000"), 7, 0.5);
    PictureRecord b = drawnRecord(60000.25f, 3, 0.75, QStringLiteral("T20261209111500"));
    b.picture.f1 = 20;
    b.picture.f2 = 8;
    b.lineage = Lineage::adoptedFrom(QStringLiteral("b.png"));

    EXPECT_EQ(morphedRecord(a, b, 0), a) << "the start is a itself";
    const PictureRecord end = morphedRecord(a, b, 1);
    EXPECT_TRUE(isSamePicture(end, b));
    EXPECT_EQ(end.replacements, b.replacements);
    EXPECT_EQ(end.lineage, b.lineage);

    for (const double w : {0.0, 0.25, 0.4999, 0.5, 0.75, 1.0}) {
        SCOPED_TRACE(w);
        const PictureRecord m = morphedRecord(a, b, w);
        const PictureRecord& nearer = w < 0.5 ? a : b;
        EXPECT_EQ(m.imeslike, a.imeslike);
        EXPECT_EQ(m.seed, a.seed);
        EXPECT_EQ(m.nac, nearer.nac);
        EXPECT_EQ(m.replacements, nearer.replacements);
        EXPECT_EQ(m.palette.period, nearer.palette.period);
        EXPECT_EQ(std::fmod(m.picture.f1, 2), 0);
        EXPECT_EQ(std::fmod(m.picture.f2, 2), 0);
        for (const ParameterDraw& draw : kParameterDraws) {
            if (!draw.field)
                continue;
            const double va = a.picture.*draw.field;
            const double vb = b.picture.*draw.field;
            const double v = m.picture.*draw.field;
            if (draw.formula.isWhole()) {
                EXPECT_EQ(v, nearer.picture.*draw.field) << draw.name;
            } else {
                EXPECT_NEAR(v, va + w * (vb - va), 1e-6 * std::fabs(vb - va) + 1e-5 * std::fabs(v)) << draw.name;
            }
            if (draw.formula.held == DrawHeld::Single) {
                EXPECT_EQ(v, toSingle(v)) << draw.name;
            }
        }
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_NEAR(m.palette.phase[c], a.palette.phase[c] + w * (b.palette.phase[c] - a.palette.phase[c]), 1e-12);
            const double la = a.palette.wavelength[c];
            EXPECT_NEAR(m.palette.wavelength[c], la + w * (b.palette.wavelength[c] - la), 1e-5 * la);
            EXPECT_EQ(m.palette.wavelength[c], toSingle(m.palette.wavelength[c]));
        }
        EXPECT_NEAR(std::log(m.view), std::log(3.0) + w * (std::log(0.75) - std::log(3.0)), 1e-12);
        if (w > 0 && w < 1) {
            EXPECT_EQ(m.lineage, Lineage::interpolationOf(a.imeslike, b.imeslike, w));
            EXPECT_FALSE(m.isRepeat);
        }
    }
}

} // namespace
} // namespace mandalix
