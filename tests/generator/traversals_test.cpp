#include "generator/traversals.h"

#include <cmath>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using Position = std::pair<int, int>; // column, row

// A visit that logs every position and checks that x and y belong to it.
struct Recorder {
    WindowState& s;
    std::vector<Position> positions;
    int staleCoordinates = 0;

    explicit Recorder(WindowState& state) : s(state) { }

    void operator()()
    {
        positions.emplace_back(static_cast<int>(s.i), static_cast<int>(s.j));
        staleCoordinates += s.x != columnToX(s, s.i) || s.y != rowToY(s, s.j);
    }
};

// How often each position was visited.
std::map<Position, int> tally(const std::vector<Position>& positions)
{
    std::map<Position, int> counts;
    for (const Position& p : positions)
        ++counts[p];
    return counts;
}

// Every position of columns firstColumn..lastColumn and rows firstRow..lastRow visited
// exactly once, and nothing else.
void expectEachOnce(const std::vector<Position>& positions, int firstColumn, int lastColumn,
                    int firstRow, int lastRow)
{
    const std::map<Position, int> counts = tally(positions);
    EXPECT_EQ(counts.size(), static_cast<std::size_t>(lastColumn - firstColumn + 1)
                                 * static_cast<std::size_t>(lastRow - firstRow + 1));
    int outside = 0;
    int repeated = 0;
    for (const auto& [p, n] : counts) {
        outside += p.first < firstColumn || p.first > lastColumn || p.second < firstRow
            || p.second > lastRow;
        repeated += n != 1;
    }
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(repeated, 0);
}

// A pacer that logs what it is told and answers false from the `stopAt`-th checkpoint on.
struct LoggingPacer : Pacer {
    std::vector<long long> passes;
    std::vector<long long> checkpoints;
    int stopAt = 0; // 0: never stop

    void beginPass(long long positions) override { passes.push_back(positions); }
    bool checkpoint(long long done) override
    {
        checkpoints.push_back(done);
        return stopAt == 0 || static_cast<int>(checkpoints.size()) < stopAt;
    }
};

// The random orders worked out separately: column, row, redraw while taken; under the
// noise pass a third draw gives the colour.
struct RandomPassModel {
    std::vector<Position> order;
    std::map<Position, Colour> noise;
};

RandomPassModel modelRandomPass(Rnd& rnd, int columns, int rows, bool isNoise)
{
    RandomPassModel model;
    std::vector<bool> taken(static_cast<std::size_t>(columns) * rows, false);
    for (int k = 0; k < columns * rows; ++k) {
        int i = 0;
        int j = 0;
        do {
            i = static_cast<int>(std::floor(columns * static_cast<double>(rnd.next())));
            j = static_cast<int>(std::floor(rows * static_cast<double>(rnd.next())));
        } while (taken[static_cast<std::size_t>(i) * rows + j]);
        taken[static_cast<std::size_t>(i) * rows + j] = true;
        model.order.emplace_back(i, j);
        if (isNoise)
            model.noise[{i, j}] = static_cast<Colour>(std::nearbyint(rnd.next() * 16777215.0));
    }
    return model;
}

TEST(CoordinateMapping, MapsEdgesAndCentreExactly)
{
    // Expected values worked out in Python with the same division order; -3.0000000000000004
    // and -2.986899563318777 are what a reciprocal or a reordered product would give.
    const WindowState s;
    const struct {
        double index, x, y;
    } rows[] = {{0, -3.0, 3.0}, {1, -2.9868995633187776, 2.9868995633187776}, {229, 0.0, 0.0},
                {458, 3.0, -3.0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.index);
        EXPECT_EQ(columnToX(s, row.index), row.x);
        EXPECT_EQ(rowToY(s, row.index), row.y);
    }
}

TEST(GenerationType, RoundsHalfToEvenAndFallsBackToLeftToRight)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double nac;
        int type;
    } rows[] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {0, 1}, {5, 1}, {-2, 1}, {2.5, 2}, {3.5, 4},
                {4.5, 4}, {4.6, 1}, {0.5, 1}, {1.6, 2}, {nan, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nac);
        EXPECT_EQ(generationType(row.nac), row.type);
    }
}

TEST(PaintLeftToRight, VisitsColumnsThenRowsThroughSirAndVis)
{
    WindowState s;
    Recorder rec(s);
    ASSERT_TRUE(paintLeftToRight(s, noPacing(), rec));
    ASSERT_EQ(rec.positions.size(), 210681u);
    EXPECT_EQ(rec.positions[0], Position(0, 0));
    EXPECT_EQ(rec.positions[1], Position(0, 1));
    EXPECT_EQ(rec.positions[458], Position(0, 458));
    EXPECT_EQ(rec.positions[459], Position(1, 0));
    EXPECT_EQ(rec.positions.back(), Position(458, 458));
    expectEachOnce(rec.positions, 0, 458, 0, 458);
    EXPECT_EQ(rec.staleCoordinates, 0);
}

TEST(PaintFromCentre, PaintsNestedClockwiseRingsOutToTheTopLeftCorner)
{
    WindowState s;
    Recorder rec(s);
    ASSERT_TRUE(paintFromCentre(s, noPacing(), rec));
    ASSERT_EQ(rec.positions.size(), 212060u);
    const std::vector<Position> ring1(rec.positions.begin(), rec.positions.begin() + 6);
    EXPECT_EQ(ring1, (std::vector<Position>{{229, 229}, {230, 229}, {230, 230}, {229, 230},
                                            {228, 230}, {228, 229}}));
    EXPECT_EQ(rec.positions.back(), Position(-1, 0));
    expectEachOnce(rec.positions, -1, 459, 0, 459);
    EXPECT_EQ(rec.staleCoordinates, 0);

    // Ring k is the border of columns 229-k..229+k and rows 230-k..229+k, 8k-2 positions,
    // walked one step at a time from (230-k, 230-k) to the right, ending at (229-k, 230-k).
    const auto ringOf = [](Position p) {
        return std::max(std::abs(p.first - 229), p.second >= 230 ? p.second - 229 : 230 - p.second);
    };
    std::size_t start = 0;
    for (int k = 1; k <= 230; ++k) {
        SCOPED_TRACE(k);
        const std::size_t end = start + 8 * k - 2;
        ASSERT_EQ(rec.positions[start], Position(230 - k, 230 - k));
        ASSERT_EQ(rec.positions[start + 1], Position(231 - k, 230 - k));
        ASSERT_EQ(rec.positions[end - 1], Position(229 - k, 230 - k));
        for (std::size_t n = start; n < end; ++n) {
            ASSERT_EQ(ringOf(rec.positions[n]), k) << n;
            if (n > start) {
                const Position a = rec.positions[n - 1];
                const Position b = rec.positions[n];
                ASSERT_EQ(std::abs(a.first - b.first) + std::abs(a.second - b.second), 1) << n;
            }
        }
        start = end;
    }
}

TEST(PaintFromCentre, CountsWideAndTallGridsAsItPaintsThem)
{
    for (auto [sir, vis] : {std::pair{10.0, 4.0}, {4.0, 10.0}, {7.0, 7.0}, {9.0, 2.0}}) {
        SCOPED_TRACE(testing::Message() << sir << "x" << vis);
        WindowState s;
        s.sir = sir;
        s.vis = vis;
        Recorder rec(s);
        LoggingPacer pacer;
        ASSERT_TRUE(paintFromCentre(s, pacer, rec));
        ASSERT_EQ(pacer.passes.size(), 1u);
        EXPECT_EQ(pacer.passes[0], static_cast<long long>(rec.positions.size()));
        EXPECT_EQ(tally(rec.positions).size(), rec.positions.size()) << "no position twice";
    }
}

TEST(PaintRandomPass, VisitsEachPositionOnceInTheModelsOrder)
{
    WindowState s;
    // Marks left from earlier passes, inside and outside the grid.
    s.visited.fill(1);
    Rnd rnd(4321.5f);
    Rnd modelRnd = rnd;
    Recorder rec(s);
    ASSERT_TRUE(paintRandomPass(s, rnd, noPacing(), rec));
    ASSERT_EQ(rec.positions.size(), 209764u);
    expectEachOnce(rec.positions, 0, 457, 0, 457);
    EXPECT_EQ(rec.staleCoordinates, 0);
    EXPECT_EQ(rec.positions, modelRandomPass(modelRnd, 458, 458, false).order);
    EXPECT_EQ(rnd.next(), modelRnd.next()) << "same number of draws";
    // Cells beyond the grid are never touched.
    EXPECT_EQ(s.visitedAt(458, 0), 1);
    EXPECT_EQ(s.visitedAt(0, 458), 1);
    EXPECT_EQ(s.visitedAt(550, 550), 1);
}

TEST(PaintOrderToChaos, PaintsNoiseThenThePictureInANewOrderKeepingNoiseWhereAPixelFails)
{
    WindowState s;
    Surface picture1(460, 460, kWhite); // large enough to show every position
    Rnd rnd(73000.25f);
    Rnd modelRnd = rnd;
    const Colour painted = 0x123456;
    std::vector<Position> visits;
    std::map<Position, Colour> seenBeforePainting;
    const auto fails = [](int i, int j) { return (i * 7 + j) % 11 == 0 || (i == 229 && j == 229); };
    const auto visit = [&] {
        const int i = static_cast<int>(s.i);
        const int j = static_cast<int>(s.j);
        visits.emplace_back(i, j);
        seenBeforePainting[{i, j}] = picture1.Point(i, j);
        if (fails(i, j))
            return false;
        picture1.PSet(i, j, painted);
        return true;
    };
    ASSERT_TRUE(paintOrderToChaos(s, picture1, rnd, noPacing(), visit));

    const RandomPassModel noise = modelRandomPass(modelRnd, 458, 458, true);
    const RandomPassModel picture = modelRandomPass(modelRnd, 458, 458, false);
    EXPECT_EQ(visits, picture.order);
    EXPECT_NE(noise.order, picture.order);
    int wrongNoise = 0;
    int wrongFinal = 0;
    for (int i = 0; i < 458; ++i) {
        for (int j = 0; j < 458; ++j) {
            const Colour noiseColour = noise.noise.at({i, j});
            wrongNoise += seenBeforePainting.at({i, j}) != noiseColour;
            wrongFinal += picture1.Point(i, j) != (fails(i, j) ? noiseColour : painted);
        }
    }
    EXPECT_EQ(wrongNoise, 0) << "every position shows its noise when the picture reaches it";
    EXPECT_EQ(wrongFinal, 0) << "failed positions keep their noise, the others are painted";
    EXPECT_EQ(picture1.Point(458, 0), kWhite);
    EXPECT_EQ(picture1.Point(0, 458), kWhite);
}

TEST(PaintRandomPass, RefusesGridsBeyondTheVisitTableAndEmptyGrids)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto [sir, vis] : {std::pair{552.0, 458.0}, {458.0, 552.0}, {0.0, 458.0},
                            {-458.0, -458.0}, {nan, 458.0}, {1e9, 1e9}}) {
        SCOPED_TRACE(testing::Message() << sir << "x" << vis);
        WindowState s;
        s.sir = sir;
        s.vis = vis;
        Surface picture1(10, 10, kWhite);
        Rnd rnd(1.0f);
        int visits = 0;
        EXPECT_TRUE(paintOrderToChaos(s, picture1, rnd, noPacing(), [&] { ++visits; }));
        EXPECT_EQ(visits, 0);
        EXPECT_EQ(picture1.Point(0, 0), kWhite);
    }
}

TEST(PaintRandomPass, FillsTheWholeTableAndEndsOnFractionalSizes)
{
    const struct {
        double sir, vis;
        int columns, rows;
        std::size_t visits;
    } rows[] = {{551, 551, 551, 551, 303601}, {2.5, 2, 3, 2, 5}, {0.5, 3, 1, 3, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.sir << "x" << row.vis);
        WindowState s;
        s.sir = row.sir;
        s.vis = row.vis;
        s.visited.fill(1);
        Rnd rnd(99.0f);
        Recorder rec(s);
        ASSERT_TRUE(paintRandomPass(s, rnd, noPacing(), rec));
        EXPECT_EQ(rec.positions.size(), row.visits);
        const std::map<Position, int> counts = tally(rec.positions);
        EXPECT_EQ(counts.size(), row.visits) << "no position twice";
        for (const auto& [p, n] : counts) {
            EXPECT_LT(p.first, row.columns);
            EXPECT_LT(p.second, row.rows);
        }
    }
}

TEST(PaintInOrderOfType, PicksTheTraversalOfNac)
{
    const struct {
        double nac;
        std::size_t visits;
        Position first;
    } rows[] = {{1, 210681, {0, 0}}, {2, 212060, {229, 229}}, {0, 210681, {0, 0}},
                {7, 210681, {0, 0}}, {2.4, 212060, {229, 229}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nac);
        WindowState s;
        s.nac = row.nac;
        Surface picture1(10, 10, kWhite);
        Rnd rnd;
        Recorder rec(s);
        ASSERT_TRUE(paintInOrderOfType(s, picture1, rnd, noPacing(), rec));
        ASSERT_EQ(rec.positions.size(), row.visits);
        EXPECT_EQ(rec.positions[0], row.first);
    }
    for (double nac : {3.0, 4.0}) {
        SCOPED_TRACE(nac);
        WindowState s;
        s.nac = nac;
        Surface picture1(10, 10, kWhite);
        Rnd rnd;
        Recorder rec(s);
        LoggingPacer pacer;
        ASSERT_TRUE(paintInOrderOfType(s, picture1, rnd, pacer, rec));
        EXPECT_EQ(rec.positions.size(), 209764u);
        EXPECT_EQ(pacer.passes.size(), nac == 4 ? 2u : 1u) << "type 4 adds the noise pass";
        EXPECT_EQ(picture1.Point(0, 0) != kWhite, nac == 4) << "only type 4 paints noise";
    }
}

TEST(Traversals, ReportEveryBatchAndStopAtOnceWhenThePacerSaysSo)
{
    WindowState s;
    Recorder rec(s);
    LoggingPacer pacer;
    ASSERT_TRUE(paintLeftToRight(s, pacer, rec));
    EXPECT_EQ(pacer.passes, std::vector<long long>{210681});
    ASSERT_EQ(pacer.checkpoints.size(), static_cast<std::size_t>(210681 / kBatchPixels + 1));
    for (std::size_t k = 0; k + 1 < pacer.checkpoints.size(); ++k)
        ASSERT_EQ(pacer.checkpoints[k], static_cast<long long>(k + 1) * kBatchPixels);
    EXPECT_EQ(pacer.checkpoints.back(), 210681) << "the end of the pass is reported";

    for (int type = 1; type <= 4; ++type) {
        SCOPED_TRACE(type);
        WindowState t;
        t.nac = type;
        Surface picture1(460, 460, kWhite);
        Rnd rnd(5.0f);
        Recorder stopped(t);
        LoggingPacer stopper;
        stopper.stopAt = 3;
        EXPECT_FALSE(paintInOrderOfType(t, picture1, rnd, stopper, stopped));
        EXPECT_EQ(stopper.checkpoints.size(), 3u);
        // Type 4 stops inside its noise pass, before any picture position.
        EXPECT_EQ(stopped.positions.size(), type == 4 ? 0u : 3u * kBatchPixels);
    }
}

} // namespace
} // namespace mandalix
