#include "generator/frame_engine.h"

#include "base/work_pool.h"
#include "generator/picture_frame.h"
#include "generator/traversals.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>

namespace mandalix {

// Painting at once: the pool's threads take tiles of distances from the centre, so that
// the terms of r alone are computed once for every position at the same distance (up to
// eight) and written by one thread. The result is the same for any number of threads.

namespace {

// How often the caller's thread reports progress at most.
constexpr std::chrono::milliseconds kProgressEvery{100};

// Distances a tile spans on each of its two sides.
constexpr int kTileKeys = 32;

// The positions (columns or output rows) of each distinct |coordinate|, by key.
struct PositionsByKey {
    std::vector<int> start; // positions of key k: list[start[k]] .. list[start[k + 1] - 1]
    std::vector<int> list;

    void build(const std::vector<int>& keyOf, int keys)
    {
        start.assign(static_cast<std::size_t>(keys) + 1, 0);
        for (int key : keyOf)
            ++start[static_cast<std::size_t>(key) + 1];
        for (int k = 0; k < keys; ++k)
            start[static_cast<std::size_t>(k) + 1] += start[static_cast<std::size_t>(k)];
        list.resize(keyOf.size());
        std::vector<int> next(start.begin(), start.end() - 1);
        for (std::size_t position = 0; position < keyOf.size(); ++position)
            list[static_cast<std::size_t>(next[static_cast<std::size_t>(keyOf[position])]++)] = static_cast<int>(position);
    }
    bool isEmpty(int key) const { return start[static_cast<std::size_t>(key)] == start[static_cast<std::size_t>(key) + 1]; }
};

// What the painting threads share, read-only but for the counter and the pixels; each
// pixel belongs to exactly one pair of keys and so to one tile and one thread.
struct FrameJob {
    const PixelTerms* terms = nullptr;
    std::vector<double> xs, ys;   // centred coordinates of each column and output row
    std::vector<double> absolute; // |coordinate| of each key, ascending by bit pattern
    std::vector<int> columnKeys, rowKeys; // key of each column and output row
    PositionsByKey columnsOf, rowsOf;
    std::vector<std::pair<int, int>> tiles; // first keys of the two sides, first <= second
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    long long pixels = 0;
    int rows = 0;

    std::atomic<long long> pixelsDone{0};
};

// The positions of a block of kTileKeys keys, in ascending order: neighbouring pixels one
// after another, whose similar arguments keep the maths library's branches predictable.
std::vector<int> positionsOfBlock(const PositionsByKey& byKey, int firstKey, int keys)
{
    const int last = std::min(firstKey + kTileKeys, keys);
    std::vector<int> positions(byKey.list.begin() + byKey.start[static_cast<std::size_t>(firstKey)],
                               byKey.list.begin() + byKey.start[static_cast<std::size_t>(last)]);
    std::sort(positions.begin(), positions.end());
    return positions;
}

// The rows of the keys rowFirst.. by the columns `columns` of one tile, each pixel with the
// terms of its pair of keys from `table`. The rows of one key are y and -y: their angles'
// terms are worked out once, for the first of them, and mirrored for the other.
long long paintRegion(FrameJob& job, const RadialTerms* table, int firstA, int firstB, int rowFirst,
                      const std::vector<int>& columns)
{
    const int rowLast = std::min(rowFirst + kTileKeys, static_cast<int>(job.absolute.size()));
    std::vector<uchar*> lines;
    std::vector<bool> isMirrored;
    long long painted = 0;
    for (int rowKey = rowFirst; rowKey < rowLast; ++rowKey) {
        const int* rows = job.rowsOf.list.data() + job.rowsOf.start[static_cast<std::size_t>(rowKey)];
        const int rowCount = job.rowsOf.start[static_cast<std::size_t>(rowKey) + 1]
            - job.rowsOf.start[static_cast<std::size_t>(rowKey)];
        if (rowCount == 0)
            continue;
        const double y = job.ys[static_cast<std::size_t>(rows[0])];
        lines.clear();
        isMirrored.clear();
        for (int k = 0; k < rowCount; ++k) {
            lines.push_back(job.bits + job.bytesPerLine * rows[k]);
            isMirrored.push_back(std::signbit(job.ys[static_cast<std::size_t>(rows[k])]) != std::signbit(y));
        }
        for (const int column : columns) {
            const int columnKey = job.columnKeys[static_cast<std::size_t>(column)];
            const int low = std::min(rowKey, columnKey);
            const int high = std::max(rowKey, columnKey);
            const RadialTerms& radial = table[(high - firstB) * kTileKeys + (low - firstA)];
            const AngularTerms angular = job.terms->angular(job.xs[static_cast<std::size_t>(column)], y);
            for (int k = 0; k < rowCount; ++k)
                lines[static_cast<std::size_t>(k)][column] =
                    job.terms->index(radial, isMirrored[static_cast<std::size_t>(k)] ? angular.mirrored() : angular);
        }
        painted += static_cast<long long>(rowCount) * static_cast<long long>(columns.size());
    }
    return painted;
}

// The tile of keys firstA.. (the smaller of a pixel's two keys) and firstB.. (the larger):
// the terms of each pair first, then the pixels with rows of B and columns of A, and with
// rows of A and columns of B.
long long paintTile(FrameJob& job, std::vector<RadialTerms>& table, int firstA, int firstB)
{
    const int keys = static_cast<int>(job.absolute.size());
    for (int b = firstB; b < std::min(firstB + kTileKeys, keys); ++b) {
        for (int a = firstA; a < std::min(firstA + kTileKeys, b + 1); ++a) {
            const bool isUsed = (!job.columnsOf.isEmpty(a) && !job.rowsOf.isEmpty(b))
                || (!job.columnsOf.isEmpty(b) && !job.rowsOf.isEmpty(a));
            if (isUsed)
                table[static_cast<std::size_t>((b - firstB) * kTileKeys + (a - firstA))] =
                    job.terms->radial(job.absolute[static_cast<std::size_t>(a)], job.absolute[static_cast<std::size_t>(b)]);
        }
    }
    long long painted = paintRegion(job, table.data(), firstA, firstB, firstB, positionsOfBlock(job.columnsOf, firstA, keys));
    if (firstA != firstB)
        painted += paintRegion(job, table.data(), firstA, firstB, firstA, positionsOfBlock(job.columnsOf, firstB, keys));
    return painted;
}

std::uint64_t keyOf(double v) { return std::bit_cast<std::uint64_t>(std::fabs(v)); }

// Gives every coordinate the index of its |value| among the distinct ones: equal bit
// patterns of |x| and |y| give equal distances, so only those share terms.
void buildKeys(FrameJob& job)
{
    std::vector<std::uint64_t> keys;
    keys.reserve(job.xs.size() + job.ys.size());
    for (double v : job.xs)
        keys.push_back(keyOf(v));
    for (double v : job.ys)
        keys.push_back(keyOf(v));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    const auto indexOf = [&](double v) {
        return static_cast<int>(std::lower_bound(keys.begin(), keys.end(), keyOf(v)) - keys.begin());
    };
    for (double v : job.xs)
        job.columnKeys.push_back(indexOf(v));
    for (double v : job.ys)
        job.rowKeys.push_back(indexOf(v));
    const int count = static_cast<int>(keys.size());
    job.columnsOf.build(job.columnKeys, count);
    job.rowsOf.build(job.rowKeys, count);
    for (std::uint64_t key : keys)
        job.absolute.push_back(std::bit_cast<double>(key));
    for (int b = 0; b < count; b += kTileKeys)
        for (int a = 0; a <= b; a += kTileKeys)
            job.tiles.emplace_back(a, b);
}

// Paints the tiles on the shared pool, each worker with a table of its own, and reports
// progress from the calling thread between its tiles.
void paintTiles(FrameJob& job, int threads, const FrameProgress& progress, const std::atomic<bool>* cancel)
{
    using Clock = std::chrono::steady_clock;
    const int count = std::clamp(threads, 1, std::max(1, static_cast<int>(job.tiles.size())));
    std::vector<std::vector<RadialTerms>> tables(static_cast<std::size_t>(count));
    auto lastReport = Clock::now();
    const auto between = [&] {
        if (!progress || Clock::now() - lastReport < kProgressEvery)
            return;
        lastReport = Clock::now();
        progress(job.pixels == 0 ? job.rows : job.pixelsDone.load(std::memory_order_relaxed) * job.rows / job.pixels,
                 job.rows);
    };
    sharedPool().parallelFor(
        static_cast<long long>(job.tiles.size()), count,
        [&](long long tile, int worker) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return;
            std::vector<RadialTerms>& table = tables[static_cast<std::size_t>(worker)];
            if (table.empty())
                table.resize(static_cast<std::size_t>(kTileKeys) * kTileKeys);
            const auto [firstA, firstB] = job.tiles[static_cast<std::size_t>(tile)];
            job.pixelsDone.fetch_add(paintTile(job, table, firstA, firstB), std::memory_order_relaxed);
        },
        between);
    if (progress && !(cancel && cancel->load(std::memory_order_relaxed)))
        progress(job.rows, job.rows);
}

} // namespace

WindowState frameStateOf(const PictureRecord& record)
{
    WindowState s;
    setStartUpDefaults(s, record.nac);
    setParameters(s, record.picture);
    s.polx = record.view;
    s.poly = record.view;
    return s;
}

FrameEngine::FrameEngine(const WindowState& s, const QList<QRgb>& colourTable)
    : m_window(s), m_terms(s, [&] {
          Q_ASSERT(colourTable.size() == kFrameColours);
          StripColours strip{};
          for (int k = 0; k < kPaletteIndices; ++k)
              strip[static_cast<std::size_t>(k)] = fromArgb(colourTable[k]);
          return strip;
      }()),
      m_table(colourTable)
{
}

FrameEngine::FrameEngine(const WindowState& s, const Surface& picture3)
    : m_window(s), m_terms(s, picture3)
{
    for (Colour colour : m_terms.colours())
        m_table.push_back(toArgb(colour));
}

std::vector<double> FrameEngine::columnXs(int length, int shorter) const
{
    std::vector<double> xs(static_cast<std::size_t>(length));
    for (int column = 0; column < length; ++column)
        xs[static_cast<std::size_t>(column)] = columnToX(m_window, framedPosition(column, length, shorter));
    return xs;
}

std::vector<double> FrameEngine::rowYs(int length, int shorter) const
{
    std::vector<double> ys(static_cast<std::size_t>(length));
    for (int row = 0; row < length; ++row)
        ys[static_cast<std::size_t>(row)] = rowToY(m_window, framedPosition(row, length, shorter));
    return ys;
}

QImage FrameEngine::paintRows(QSize size, const std::vector<int>& rows, int threads, const FrameProgress& progress,
                              const std::atomic<bool>* cancel) const
{
    Q_ASSERT(size.width() >= 1 && size.height() >= 1 && threads >= 1);
    const int width = size.width();
    const int shorter = shorterSide(width, size.height());
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    image.setColorTable(m_table);

    FrameJob job;
    job.terms = &m_terms;
    job.bits = image.bits();
    job.bytesPerLine = image.bytesPerLine();
    job.rows = static_cast<int>(rows.size());
    job.pixels = static_cast<long long>(width) * job.rows;
    job.xs = columnXs(width, shorter);
    const std::vector<double> ys = rowYs(size.height(), shorter);
    for (int row : rows)
        job.ys.push_back(ys[static_cast<std::size_t>(row)]);
    buildKeys(job);
    paintTiles(job, threads, progress, cancel);
    if (cancel && cancel->load(std::memory_order_acquire))
        return {};
    return image;
}

QImage FrameEngine::paint(QSize size, int threads, const FrameProgress& progress, const std::atomic<bool>* cancel) const
{
    std::vector<int> rows(static_cast<std::size_t>(std::max(0, size.height())));
    for (std::size_t row = 0; row < rows.size(); ++row)
        rows[row] = static_cast<int>(row);
    return paintRows(size, rows, threads, progress, cancel);
}

} // namespace mandalix
