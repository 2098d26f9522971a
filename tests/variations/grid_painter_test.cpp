// The grid painter: a cell is the frame engine's picture of its record in RGB32, failing
// everywhere only when every pixel fails; every cell of a generation is told once with its
// index, in either order of painting; a newer generation or an abandon silences an older
// one the moment it returns.
#include "variations/grid_painter.h"

#include "base/work_pool.h"
#include "generator/frame_engine.h"
#include "generator/picture_parameters.h"
#include "palette/palette_strip.h"
#include "palette/strip_colours.h"
#include "variations/mutation.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>

namespace mandalix {
namespace {

constexpr std::chrono::seconds kDeadline{120};

PictureRecord drawnRecord(float seed, double tip)
{
    Rnd rnd(seed);
    PictureRecord record;
    record.nac = 1;
    record.palette = drawPaletteWaves(rnd);
    drawPictureParameters(record.picture, rnd);
    record.picture.tip = tip;
    // Under formula set 2 the corners beyond n4 * r = pi fail.
    record.picture.n4 = 0.85;
    return record;
}

// A parent and its children, as the variations view shows them.
std::vector<PictureRecord> generation(int count)
{
    const PictureRecord parent = drawnRecord(1234.5f, 1);
    std::vector<PictureRecord> records = children(parent, count - 1, 77.25f, 0.5, Locks());
    records.insert(records.begin() + count / 2, parent);
    return records;
}

// What the grid's owner sees: the cells told, and whether any came too late.
struct Watcher {
    std::mutex mutex;
    std::condition_variable told;
    std::vector<GridCell> cells;
    std::atomic<int> silencedGeneration{0}; // set once the owner has silenced it
    int lateCells = 0;

    GridPainter::CellDone onCell()
    {
        return [this](const GridCell& cell) {
            std::lock_guard lock(mutex);
            lateCells += cell.generation == silencedGeneration.load();
            cells.push_back(cell);
            told.notify_all();
        };
    }
    std::map<int, int> countsOf(int generation)
    {
        std::lock_guard lock(mutex);
        std::map<int, int> counts;
        for (const GridCell& cell : cells)
            if (cell.generation == generation)
                ++counts[cell.index];
        return counts;
    }
};

TEST(GridPainter_Thread, ACellIsTheEnginesFrameInRgb32AndFailsEverywhereOnlyWhenEveryPixelFails)
{
    struct Row {
        const char* name;
        PictureRecord record;
        QSize size;
        int threads;
        bool failsEverywhere;
    };
    // Recoloured where the corners fail: those become the new colour.
    PictureRecord recoloured = drawnRecord(99.75f, 2);
    recoloured.replacements.push_back({kBlack, 0x1E0AC8});
    const Row rows[] = {
        {"one pixel", drawnRecord(10.5f, 1), {1, 1}, 1, false},
        {"wide, some corners fail", drawnRecord(20.5f, 2), {61, 23}, 2, false},
        {"tall, recoloured", recoloured, {17, 40}, 1, false},
        {"no formula set", drawnRecord(30.5f, 300), {40, 30}, 2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QImage frame = FrameEngine(frameStateOf(row.record), frameColourTable(row.record))
                                 .paint(row.size, sharedPool().maxThreads());
        const GridCell cell = paintCell(row.record, row.size, row.threads);
        ASSERT_EQ(cell.image.format(), QImage::Format_RGB32);
        EXPECT_EQ(cell.image, frame.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(cell.failsEverywhere, row.failsEverywhere);
        QImage black(row.size, QImage::Format_RGB32);
        black.fill(Qt::black);
        EXPECT_EQ(cell.image == black, row.failsEverywhere);
    }
    const std::atomic<bool> cancelled{true};
    EXPECT_TRUE(paintCell(rows[0].record, {64, 64}, 2, &cancelled).image.isNull());
}

TEST(GridPainter_Thread, TellsEveryCellOfAGenerationOnceWithItsIndexInEitherOrder)
{
    const std::vector<PictureRecord> records = generation(9);
    const QSize size(48, 36);
    for (const CellOrder order : {CellOrder::SideBySide, CellOrder::OneAfterAnother}) {
        SCOPED_TRACE(static_cast<int>(order));
        Watcher watcher;
        GridPainter painter(watcher.onCell(), order);
        painter.paint(7, records, size);
        ASSERT_TRUE(painter.waitIdleFor(kDeadline));
        std::map<int, int> once;
        for (int index = 0; index < static_cast<int>(records.size()); ++index)
            once[index] = 1;
        EXPECT_EQ(watcher.countsOf(7), once);
        for (const GridCell& cell : watcher.cells)
            EXPECT_EQ(cell.image, paintCell(records[static_cast<std::size_t>(cell.index)], size).image) << cell.index;
    }
}

TEST(GridPainter_Thread, ASecondPaintOrAnAbandonSilencesTheUnfinishedGenerationAtOnce)
{
    const std::vector<PictureRecord> large = generation(16);
    const std::vector<PictureRecord> small = generation(4);
    for (const CellOrder order : {CellOrder::SideBySide, CellOrder::OneAfterAnother}) {
        for (const bool isRepainted : {true, false}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(order) << (isRepainted ? " paint" : " abandon"));
            Watcher watcher;
            GridPainter painter(watcher.onCell(), order);
            painter.paint(1, large, QSize(1000, 1000));
            {
                std::unique_lock lock(watcher.mutex);
                ASSERT_TRUE(watcher.told.wait_for(lock, kDeadline, [&] { return !watcher.cells.empty(); }));
            }
            if (isRepainted)
                painter.paint(2, small, QSize(20, 20));
            else
                painter.abandon();
            watcher.silencedGeneration = 1;
            ASSERT_TRUE(painter.waitIdleFor(kDeadline));
            EXPECT_EQ(watcher.lateCells, 0);
            EXPECT_LT(watcher.countsOf(1).size(), large.size()) << "the first generation must have been cut short";
            EXPECT_EQ(watcher.countsOf(2).size(), isRepainted ? small.size() : 0U);
        }
    }
}

} // namespace
} // namespace mandalix
