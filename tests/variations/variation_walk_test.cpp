// Walking through generations of variations: where the parent sits, which children a
// generation holds, and what walking, going back and remaking keep.
#include "variations/variation_walk.h"

#include "variations/breeding.h"
#include "variations/mutation.h"

#include "generator/picture_parameters.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

PictureParameters drawnParameters(float seed)
{
    Rnd rnd(seed);
    PictureParameters parameters;
    drawPictureParameters(parameters, rnd);
    return parameters;
}

PictureRecord parentRecord()
{
    PictureRecord record;
    record.imeslike = QStringLiteral("T20261209120000");
    record.picture = drawnParameters(3.0f);
    record.palette.period = {25, 30, 35};
    record.palette.phase = {1, 2, 3};
    record.palette.wavelength = {30, 40, 50};
    return record;
}

VariationWalk counting()
{
    return VariationWalk([seed = 0.0f]() mutable { return seed += 1.0f; });
}

TEST(VariationWalk, EverySideHoldsTheParentAndItsChildrenInOrder)
{
    for (int side = kMinGridSide; side <= kMaxGridSide; ++side) {
        VariationWalk walk = counting();
        walk.setSide(side);
        walk.start(parentRecord());
        const Generation& g = walk.current();
        const int cells = side * side;
        ASSERT_EQ(static_cast<int>(g.cells.size()), cells);
        EXPECT_EQ(g.parentIndex, side == 2 ? 0 : side == 3 ? 4 : side == 4 ? 5 : 12);
        EXPECT_EQ(g.cells[static_cast<std::size_t>(g.parentIndex)], parentRecord());
        std::vector<PictureRecord> expected = children(parentRecord(), cells - 1, 1.0f, kDefaultStrength, {});
        expected.insert(expected.begin() + g.parentIndex, parentRecord());
        EXPECT_EQ(g.cells, expected) << side;
    }
}

TEST(VariationWalk, WalkingBackAndRemakingKeepWhatTheyShould)
{
    VariationWalk walk = counting();
    walk.start(parentRecord());
    const Generation first = walk.current();
    EXPECT_FALSE(walk.walkTo(first.parentIndex)) << "the parent is no child";
    EXPECT_FALSE(walk.walkTo(9));
    EXPECT_FALSE(walk.back());

    ASSERT_TRUE(walk.walkTo(0));
    EXPECT_EQ(walk.current().parent, first.cells[0]);
    EXPECT_EQ(walk.current().seed, 2.0f);
    EXPECT_GT(walk.current().number, first.number);

    walk.setStrength(5);
    EXPECT_EQ(walk.strength(), kMaxStrength);
    EXPECT_EQ(walk.current().seed, 2.0f) << "a remade generation keeps its seed";
    EXPECT_EQ(walk.current().cells[0], children(first.cells[0], 1, 2.0f, kMaxStrength, {})[0]);
    walk.setLocks(Locks{}.with(Group::Palette));
    for (const PictureRecord& cell : walk.current().cells)
        EXPECT_EQ(cell.palette, first.cells[0].palette);

    walk.newDirections();
    EXPECT_EQ(walk.current().parent, first.cells[0]);
    EXPECT_EQ(walk.current().seed, 3.0f);
    ASSERT_TRUE(walk.back());
    ASSERT_TRUE(walk.back());
    EXPECT_EQ(walk.current().cells, first.cells);
    EXPECT_FALSE(walk.canGoBack());
}

TEST(VariationWalk, BredChildrenStayWhatTheyAreUntilOneIsWalkedTo)
{
    PictureRecord other = parentRecord();
    other.imeslike = QStringLiteral("T20261209120500");
    other.picture = drawnParameters(9.0f);
    VariationWalk walk = counting();
    walk.breed(parentRecord(), other);
    const Generation bred = walk.current();
    EXPECT_EQ(bred.cells, breed(parentRecord(), other));
    EXPECT_EQ(bred.side, 3);
    walk.setSide(5);
    EXPECT_EQ(walk.current().cells, bred.cells);
    ASSERT_TRUE(walk.walkTo(8));
    EXPECT_EQ(walk.current().kind, Generation::Kind::Mutation);
    EXPECT_EQ(walk.current().parent, bred.cells[8]);
    EXPECT_EQ(walk.current().cells.size(), 25u);
}

} // namespace
} // namespace mandalix
