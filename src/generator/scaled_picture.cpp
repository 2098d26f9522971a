#include "generator/scaled_picture.h"

#include "generator/pixel_pipeline.h"
#include "generator/traversals.h"
#include "surface/surface_sizes.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace mandalix {

namespace {

constexpr std::chrono::milliseconds kProgressEvery{100};

// What the painting threads share: the image rows, the next band to take and the count
// of rows done. Each thread writes only the rows of the bands it took.
struct ScaledJob {
    int side = 0;
    int scale = 1;
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    std::vector<double> xs; // x of each output column, shared read-only
    const Surface* picture3 = nullptr;

    std::atomic<int> nextRow{0};
    std::atomic<long long> rowsDone{0};
    std::mutex doneMutex;
    std::condition_variable doneChanged;
    int threadsRunning = 0;
};

void paintRow(ScaledJob& job, WindowState& s, Surface& scratch, int row)
{
    auto* line = reinterpret_cast<std::uint32_t*>(job.bits + job.bytesPerLine * row);
    const double j = scaledPosition(row, job.scale);
    const double y = rowToY(s, j);
    for (int column = 0; column < job.side; ++column) {
        s.i = scaledPosition(column, job.scale);
        s.j = j;
        s.x = job.xs[static_cast<std::size_t>(column)];
        s.y = y;
        if (DrawPixel(s, *job.picture3, scratch))
            line[column] = toArgb(s.barva);
    }
}

void paintBands(ScaledJob& job, WindowState& s)
{
    // The pipeline paints into a surface of its own; only the colour it read is kept.
    Surface scratch(1, 1, kBlack);
    for (;;) {
        const int first = job.nextRow.fetch_add(kScaledBandRows, std::memory_order_relaxed);
        if (first >= job.side)
            break;
        const int last = std::min(first + kScaledBandRows, job.side);
        for (int row = first; row < last; ++row)
            paintRow(job, s, scratch, row);
        job.rowsDone.fetch_add(last - first, std::memory_order_relaxed);
    }
    {
        std::lock_guard lock(job.doneMutex);
        --job.threadsRunning;
    }
    job.doneChanged.notify_all();
}

} // namespace

QImage paintScaled(const WindowState& state, const Surface& picture3, int scale, int threads,
                   const ScaledProgress& progress)
{
    Q_ASSERT(scale >= 1 && scale <= kMaxScale && threads >= 1);
    ScaledJob job;
    job.side = kPictureSizePx * scale;
    job.scale = scale;
    job.picture3 = &picture3;
    QImage image(job.side, job.side, QImage::Format_RGB32);
    image.fill(QColor(Qt::black));
    job.bits = image.bits();
    job.bytesPerLine = image.bytesPerLine();
    job.xs.resize(static_cast<std::size_t>(job.side));
    for (int column = 0; column < job.side; ++column)
        job.xs[static_cast<std::size_t>(column)] = columnToX(state, scaledPosition(column, scale));

    const int count = std::clamp(threads, 1, (job.side + kScaledBandRows - 1) / kScaledBandRows);
    std::vector<WindowState> states(static_cast<std::size_t>(count), state);
    job.threadsRunning = count;
    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(count));
    for (WindowState& own : states)
        pool.emplace_back([&job, &own] { paintBands(job, own); });

    {
        std::unique_lock lock(job.doneMutex);
        while (!job.doneChanged.wait_for(lock, kProgressEvery, [&] { return job.threadsRunning == 0; })) {
            if (progress) {
                lock.unlock();
                progress(job.rowsDone.load(std::memory_order_relaxed), job.side);
                lock.lock();
            }
        }
    }
    for (std::thread& thread : pool)
        thread.join();
    if (progress)
        progress(job.side, job.side);
    return image;
}

} // namespace mandalix
