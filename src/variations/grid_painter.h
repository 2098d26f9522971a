// The cells of a variations grid, each a record painted by the frame engine at the cell's
// size in device pixels, on the shared pool, several at once; each cell is told as soon
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
#include <vector>

namespace mandalix {

struct GridCell {
    int generation = 0;
    int index = 0;           // the record's place in the generation
    QImage image;            // Format_RGB32, the cell's size
    bool failsEverywhere = false; // no pixel could be painted: the image is black
};

// One cell painted at once on the calling thread (and up to `threads` of the shared
// pool): the frame engine's picture of `record` at `size` with the record's colours, as
// RGB32. Null when `cancel` was set before it ended.
GridCell paintCell(const PictureRecord& record, QSize size, int threads = 1,
                   const std::atomic<bool>* cancel = nullptr);

class GridPainter {
public:
    // `onCell` is called on a painting thread (not the owner's) for each cell painted.
    using CellDone = std::function<void(const GridCell& cell)>;

    explicit GridPainter(CellDone onCell);
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
    CellDone m_onCell;
    std::shared_ptr<std::atomic<bool>> m_cancel; // the latest generation's
    SerialQueue m_queue{"mandalix-grid"};        // last: its thread ends first
};

} // namespace mandalix
