#include "variations/mutation.h"

#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
#include "variations/parameter_ranges.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mandalix {
namespace {

PictureRecord drawnRecord(float seed)
{
    Rnd rnd(seed);
    PictureRecord record;
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    record.replacements.push_back({kBlack, kBlack});
    return record;
}

// Every number of the record inside its draw range, the waves' wavelengths following
// their periods; reports the first one outside.
void expectInRanges(const PictureRecord& r)
{
    for (const ParameterSpec& spec : kParameterSpecs)
        ASSERT_TRUE(isInRange(r.picture.*spec.field, spec.range))
            << spec.name << " = " << r.picture.*spec.field;
    // The mandala's symmetry needs even ray and ring counts, whatever the table says.
    ASSERT_EQ(std::fmod(r.picture.f1, 2.0), 0.0) << r.picture.f1;
    ASSERT_EQ(std::fmod(r.picture.f2, 2.0), 0.0) << r.picture.f2;
    for (int c = 0; c < 3; ++c) {
        ASSERT_TRUE(isInRange(r.palette.period[c], kPeriodRange)) << r.palette.period[c];
        ASSERT_TRUE(isInRange(r.palette.phase[c], kPhaseRange)) << r.palette.phase[c];
        ASSERT_TRUE(isInRange(r.palette.wavelength[c], wavelengthRange(r.palette.period[c])))
            << r.palette.period[c] << " " << r.palette.wavelength[c];
    }
}

bool sameGroup(const PictureRecord& a, const PictureRecord& b, Group group)
{
    if (group == Group::Palette)
        return a.palette == b.palette;
    for (const ParameterSpec& spec : kParameterSpecs)
        if (spec.group == group && a.picture.*spec.field != b.picture.*spec.field)
            return false;
    return true;
}

// The ranges come from the draws' own formulas: each starts where its draw does at
// Rnd = 0; a whole one ends where its draw does at the largest Rnd, a continuous one at
// the bound its draw nears as Rnd nears 1.
void expectEndsReached(const char* name, const ParameterRange& range, const DrawFormula& draw)
{
    SCOPED_TRACE(name);
    EXPECT_EQ(range.min, draw.value(0.0));
    const double top = draw.value(kRndLargest);
    if (draw.isWhole()) {
        EXPECT_EQ(range.unit, draw.unit);
        EXPECT_EQ(range.max, top);
        EXPECT_LT(top, draw.value(1.0)); // Rnd = 1 is never drawn
    } else {
        EXPECT_EQ(range.max, draw.value(1.0));
        EXPECT_LE(top, range.max);
        EXPECT_GT(top, range.max - 1e-6 * (range.max - range.min));
    }
}

TEST(Variations, TheRangesAreWhereTheDrawsReachAndGroupNamesReadBack)
{
    int found = 0;
    for (const ParameterDraw& draw : kParameterDraws)
        for (const ParameterSpec& spec : kParameterSpecs)
            if (spec.field == draw.field) {
                ++found;
                EXPECT_STREQ(spec.name, draw.name);
                EXPECT_EQ(spec.range.isSingle, draw.formula.held == DrawHeld::Single) << spec.name;
                expectEndsReached(spec.name, spec.range, draw.formula);
            }
    EXPECT_EQ(found, static_cast<int>(kParameterSpecs.size()));
    expectEndsReached("period", kPeriodRange, kPeriodDraw);
    expectEndsReached("phase", kPhaseRange, kPhaseDraw);
    // The drawn records of a few seeds, the wavelengths following their periods.
    for (int k = 0; k < 20; ++k)
        expectInRanges(drawnRecord(float(k) * 43.21f));
    for (int g = 0; g < kGroupCount; ++g) {
        const Result<Group> read = parseGroup(groupName(static_cast<Group>(g)));
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.value, static_cast<Group>(g));
    }
    EXPECT_EQ(groupName(Group::Amplitudes), QStringLiteral("amplitudes"));
    EXPECT_FALSE(parseGroup(QStringLiteral("Rings")).ok);
    EXPECT_FALSE(parseGroup(QString()).ok);
}

TEST(Variations, MutationKeepsLockedGroupsAndStaysInRange)
{
    std::vector<Locks> rows = {Locks(), Locks::all()};
    for (int g = 0; g < kGroupCount; ++g)
        rows.push_back(Locks().with(static_cast<Group>(g)));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        Rnd rnd(float(row) + 0.5f);
        PictureRecord parent = drawnRecord(float(row) * 7.0f);
        const PictureRecord first = parent;
        for (int k = 0; k < 10000; ++k) {
            const double strength = kMinStrength + rnd.next() * (kMaxStrength - kMinStrength);
            PictureRecord child = mutate(parent, strength, rows[row], rnd);
            ASSERT_NO_FATAL_FAILURE(expectInRanges(child));
            ASSERT_TRUE(child.replacements.empty());
            for (int g = 0; g < kGroupCount; ++g) {
                if (rows[row].isLocked(static_cast<Group>(g))) {
                    ASSERT_TRUE(sameGroup(child, first, static_cast<Group>(g))) << row << " " << g;
                }
            }
            ASSERT_EQ(child.picture.ba2, first.picture.ba2);
            parent = std::move(child); // a walk, so drift would pile up
        }
        if (rows[row] == Locks()) {
            EXPECT_FALSE(isSamePicture(parent, first));
        }
    }
}

TEST(Variations, ChildrenFollowTheSeedAndTheStrength)
{
    const PictureRecord parent = drawnRecord(1234.5f);
    const auto row = children(parent, 8, 77.0f, 0.3, Locks());
    ASSERT_EQ(row.size(), 8u);
    EXPECT_EQ(children(parent, 8, 77.0f, 0.3, Locks()), row);
    EXPECT_NE(children(parent, 8, 78.0f, 0.3, Locks()), row);
    EXPECT_NE(children(parent, 8, 77.0f, 0.6, Locks()), row);
    EXPECT_NE(row[0].picture, row[1].picture);

    // A weak step moves a continuous number by at most its strength's share of its range.
    for (const PictureRecord& child : children(parent, 200, 5.0f, kMinStrength, Locks())) {
        for (const ParameterSpec& spec : kParameterSpecs) {
            if (!spec.range.isWhole()) {
                ASSERT_LE(std::abs(child.picture.*spec.field - parent.picture.*spec.field),
                          kMinStrength * (spec.range.max - spec.range.min) * 1.001)
                    << spec.name;
            }
        }
    }
}

TEST(Variations, StrengthIsClampedIntoItsRange)
{
    struct Row { double in; double out; bool wasClamped; };
    const Row rows[] = {{0.5, 0.5, false}, {kMinStrength, kMinStrength, false},
                        {kMaxStrength, kMaxStrength, false}, {0.0, kMinStrength, true},
                        {-3.0, kMinStrength, true}, {1.5, kMaxStrength, true},
                        {std::nan(""), kMinStrength, true}};
    for (const Row& row : rows) {
        const ClampedStrength c = clampStrength(row.in);
        EXPECT_EQ(c.value, row.out) << row.in;
        EXPECT_EQ(c.wasClamped, row.wasClamped) << row.in;
    }
}

} // namespace
} // namespace mandalix
