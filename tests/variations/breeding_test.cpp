#include "variations/breeding.h"

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
#include "variations/parameter_ranges.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace mandalix {
namespace {

PictureRecord drawnRecord(float seed)
{
    Rnd rnd(seed);
    PictureRecord record;
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    return record;
}

bool between(double v, double a, double b)
{
    return v >= std::min(a, b) && v <= std::max(a, b);
}

TEST(Breeding, CrossoversTakeEachGroupWholeFromOneParent)
{
    const PictureRecord a = drawnRecord(100.0f);
    const PictureRecord b = drawnRecord(2000.0f);
    const std::vector<PictureRecord> row = breed(a, b);
    ASSERT_EQ(row.size(), std::size_t(kGroupCount) + kBlendPlaces.size());
    for (int g = 0; g < kGroupCount; ++g) {
        const PictureRecord& child = row[std::size_t(g)];
        for (const ParameterSpec& spec : kParameterSpecs) {
            const PictureRecord& from = spec.group == static_cast<Group>(g) ? b : a;
            EXPECT_EQ(child.picture.*spec.field, from.picture.*spec.field) << g << spec.name;
        }
        EXPECT_EQ(child.palette, (g == int(Group::Palette) ? b : a).palette) << g;
        EXPECT_EQ(child.picture.ba1, a.picture.ba1);
    }
}

TEST(Breeding, BlendsLieBetweenTheParentsAndWholeNumbersComeFromTheNearer)
{
    for (int pair = 0; pair < 200; ++pair) {
        const PictureRecord a = drawnRecord(float(pair) * 3.5f);
        const PictureRecord b = drawnRecord(float(pair) * 3.5f + 50000.0f);
        for (const double place : kBlendPlaces) {
            const PictureRecord child = blend(a, b, place);
            const PictureRecord& nearer = place <= 0.5 ? a : b;
            for (const ParameterSpec& spec : kParameterSpecs) {
                const double v = child.picture.*spec.field;
                ASSERT_TRUE(isInRange(v, spec.range)) << spec.name << " " << v;
                if (spec.range.isWhole()) {
                    ASSERT_EQ(v, nearer.picture.*spec.field) << spec.name << " " << place;
                } else {
                    ASSERT_TRUE(between(v, a.picture.*spec.field, b.picture.*spec.field))
                        << spec.name << " " << place;
                }
            }
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(child.palette.period[c], nearer.palette.period[c]);
                ASSERT_TRUE(between(child.palette.phase[c], a.palette.phase[c], b.palette.phase[c]));
                ASSERT_TRUE(isInRange(child.palette.wavelength[c],
                                      wavelengthRange(child.palette.period[c])));
            }
        }
        // At the middle a continuous number is the parents' mean, to the precision held.
        const PictureRecord middle = blend(a, b, 0.5);
        EXPECT_NEAR(middle.picture.n4, (a.picture.n4 + b.picture.n4) / 2, 1e-12);
        EXPECT_NEAR(middle.picture.baf03, (a.picture.baf03 + b.picture.baf03) / 2, 1e-4);
    }
}

} // namespace
} // namespace mandalix
