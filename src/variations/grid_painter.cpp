#include "variations/grid_painter.h"

#include "base/work_pool.h"
#include "generator/frame_engine.h"
#include "palette/strip_colours.h"

#include <algorithm>

namespace mandalix {

namespace {

// True when every pixel of the Indexed8 `frame` is a failed one.
bool isFailedEverywhere(const QImage& frame)
{
    for (int row = 0; row < frame.height(); ++row) {
        const uchar* line = frame.constScanLine(row);
        if (!std::all_of(line, line + frame.width(), [](uchar index) { return index == kFailedIndex; }))
            return false;
    }
    return true;
}

} // namespace

GridCell paintCell(const PictureRecord& record, QSize size, int threads, const std::atomic<bool>* cancel)
{
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    const QImage frame = engine.paint(size, std::max(threads, 1), {}, cancel);
    GridCell cell;
    if (frame.isNull())
        return cell;
    cell.failsEverywhere = isFailedEverywhere(frame);
    cell.image = frame.convertToFormat(QImage::Format_RGB32);
    return cell;
}

GridPainter::GridPainter(CellDone onCell, CellOrder order) : m_onCell(std::move(onCell)), m_order(order) {}

GridPainter::~GridPainter()
{
    abandon();
    m_queue.stop();
}

void GridPainter::paint(int generation, std::vector<PictureRecord> records, QSize cellSize)
{
    abandon();
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    m_queue.post([this, generation, records = std::move(records), cellSize, cancel] {
        paintGeneration(generation, records, cellSize, *cancel);
    });
}

void GridPainter::abandon()
{
    if (!m_cancel)
        return;
    std::lock_guard lock(m_telling);
    m_cancel->store(true, std::memory_order_release);
}

bool GridPainter::waitIdleFor(std::chrono::milliseconds timeout) { return m_queue.waitIdleFor(timeout); }

void GridPainter::tell(const GridCell& cell, const std::atomic<bool>& cancel)
{
    std::lock_guard lock(m_telling);
    if (cell.image.isNull() || cancel.load(std::memory_order_acquire))
        return;
    m_onCell(cell);
}

void GridPainter::paintGeneration(int generation, const std::vector<PictureRecord>& records, QSize cellSize,
                                  const std::atomic<bool>& cancel)
{
    const auto paintOne = [&](long long index, int threads) {
        if (cancel.load(std::memory_order_relaxed))
            return;
        GridCell cell = paintCell(records[static_cast<std::size_t>(index)], cellSize, threads, &cancel);
        cell.generation = generation;
        cell.index = static_cast<int>(index);
        tell(cell, cancel);
    };
    const int threads = sharedPool().maxThreads();
    const auto count = static_cast<long long>(records.size());
    if (m_order == CellOrder::SideBySide) {
        // A cell painted on a pool thread paints alone; so does one on this thread, asked
        // for one thread.
        sharedPool().parallelFor(count, threads, [&](long long index, int) { paintOne(index, 1); });
    } else {
        for (long long index = 0; index < count; ++index)
            paintOne(index, threads);
    }
}

} // namespace mandalix
