// The cells of a variations grid, each a record painted by the frame engine at the cell's
// size in device pixels, on every thread of the shared pool; each cell is told as soon
// as it is painted. A newer generation abandons an unfinished older one at once: none of
// the older one's cells is told after paint() returns. One owner thread (a queue of its
// own) runs the generations; paint(), abandon() and waitIdleFor() are for one thread, the
// owner's (the GUI thread). Nothing fails: a cell whose pixels all fail is black, and says so.
#pragma once

#include "base/serial_queue.h"
#include "state/picture_record.h"

#include <QImage>
#include <QSize>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace mandalix {

struct GridCell {
    int generation = 0;
    int index = 0;           // the record's place in the generation
    QImage image;            // Format_RGB32, the cell's size
    // No pixel could be painted: the image is black (or what the record recoloured black
    // to, as on the window's picture).
    bool failsEverywhere = false;
};

// How a generation's cells share the pool's threads.
enum class CellOrder {
    SideBySide,     // each cell on one thread, as many cells at once as there are threads
    OneAfterAnother // each cell on every thread, through the engine's own tiles
};

// One cell painted at once on the calling thread (and up to `threads` of the shared
// pool): the frame engine's picture of `record` at `size` with the record's colours, as
// RGB32. Null when `cancel` was set before it ended.
GridCell paintCell(const PictureRecord& record, QSize size, int threads = 1,
                   const std::atomic<bool>* cancel = nullptr);

class GridPainter {
public:
    // `onCell` is called on a painting thread (not the owner's) for each cell painted, one
    // call at a time. The owner's paint() and abandon() wait while a call runs: keep it
    // short (hand the cell on), and never call back into the painter from it.
    using CellDone = std::function<void(const GridCell& cell)>;

    // One cell after another paints a whole grid as fast as side by side and shows the
    // first cell sooner (on two cores 3.7 ms against 6.0 for 3 x 3 cells of 300 px); with
    // other work on the processors its tiles go to whichever thread is free
    // (docs/benchmarks.md).
    static constexpr CellOrder kDefaultOrder = CellOrder::OneAfterAnother;

    explicit GridPainter(CellDone onCell, CellOrder order = kDefaultOrder);
    ~GridPainter(); // abandons what paints and joins
    GridPainter(const GridPainter&) = delete;
    GridPainter& operator=(const GridPainter&) = delete;

    // Paints `records` at `cellSize` as `generation`, in their order, abandoning any older
    // generation first.
    void paint(int generation, std::vector<PictureRecord> records, QSize cellSize);
    // Abandons what paints; no cell of it is told after this returns.
    void abandon();
    // True when every generation posted has been painted or abandoned before `timeout`.
    bool waitIdleFor(std::chrono::milliseconds timeout);

private:
    void paintGeneration(int generation, const std::vector<PictureRecord>& records, QSize cellSize,
                         const std::atomic<bool>& cancel);
    // Tells `cell` unless `cancel` is set, under m_telling.
    void tell(const GridCell& cell, const std::atomic<bool>& cancel);

    CellDone m_onCell;
    CellOrder m_order;
    std::shared_ptr<std::atomic<bool>> m_cancel; // the latest generation's
    // Held while a cell's flag is looked at and the cell told, and while the owner sets a
    // flag: once the owner has set it, no cell of that generation is told.
    std::mutex m_telling;
    SerialQueue m_queue{"mandalix-grid"};        // last: its thread ends first
};

} // namespace mandalix
