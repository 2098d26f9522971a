#include "generator/frame_engine.h"

#include "base/work_pool.h"
#include "generator/frame_tiles.h"
#include "generator/picture_frame.h"
#include "generator/traversals.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <new>

namespace mandalix {

// Painting at once: the pool's threads take tiles of distances from the centre
// (frame_tiles.h), so that the terms of r alone are computed once for every position at
// the same distance (up to eight) and written by one thread. The result is the same for
// any number of threads.

namespace {

// How often the caller's thread reports progress at most.
constexpr std::chrono::milliseconds kProgressEvery{100};

// What the painting threads share, read-only but for the counter and the pixels; each
// pixel belongs to exactly one pair of keys and so to one tile and one thread.
struct FrameJob {
    FrameJob(const PixelTerms& pixelTerms, std::vector<double> xs, std::vector<double> ys)
        : terms(pixelTerms), tiles(std::move(xs), std::move(ys))
    {
    }

    const PixelTerms& terms;
    FrameTiles tiles;
    // The angles kept, in the tiles' order of pixels: bl without sines of f2 * fi, the two
    // sines with them; all null when none are kept.
    const std::int16_t* bl = nullptr;
    const double* sinF1 = nullptr;
    const double* sinF2 = nullptr;
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    long long pixels = 0;
    int rows = 0;

    std::atomic<long long> pixelsDone{0};
};

// The rows of the keys rowFirst.. by the columns `columns` of one tile, each pixel with the
// terms of its pair of keys from `table`. The rows of one key are y and -y: their angles'
// terms are worked out once, for the first of them, and mirrored for the other.
void paintRegion(FrameJob& job, const RadialTerms* table, const FrameTile& tile, int rowFirst,
                 const std::vector<int>& columns)
{
    const FrameTiles& tiles = job.tiles;
    const int rowLast = std::min(rowFirst + kTileKeys, tiles.keys());
    std::vector<uchar*> lines;
    std::vector<bool> isMirrored;
    for (int rowKey = rowFirst; rowKey < rowLast; ++rowKey) {
        const int* rows = tiles.rowsOf.list.data() + tiles.rowsOf.start[static_cast<std::size_t>(rowKey)];
        const int rowCount = tiles.rowsOf.start[static_cast<std::size_t>(rowKey) + 1]
            - tiles.rowsOf.start[static_cast<std::size_t>(rowKey)];
        if (rowCount == 0)
            continue;
        const double y = tiles.ys[static_cast<std::size_t>(rows[0])];
        lines.clear();
        isMirrored.clear();
        for (int k = 0; k < rowCount; ++k) {
            lines.push_back(job.bits + job.bytesPerLine * rows[k]);
            isMirrored.push_back(std::signbit(tiles.ys[static_cast<std::size_t>(rows[k])]) != std::signbit(y));
        }
        for (const int column : columns) {
            const RadialTerms& radial = table[tiles.tableIndex(tile, rowKey, column)];
            const AngularTerms angular = job.terms.angular(tiles.xs[static_cast<std::size_t>(column)], y);
            for (int k = 0; k < rowCount; ++k)
                lines[static_cast<std::size_t>(k)][column] =
                    job.terms.index(radial, isMirrored[static_cast<std::size_t>(k)] ? angular.mirrored() : angular);
        }
    }
}

// The pixels of a tile with the angles kept, read one after another as they were written.
void paintTileKept(FrameJob& job, const RadialTerms* table, const FrameTile& tile)
{
    const std::int16_t* bl = job.bl ? job.bl + tile.firstPixel : nullptr;
    const double* sinF1 = job.sinF1 ? job.sinF1 + tile.firstPixel : nullptr;
    const double* sinF2 = job.sinF2 ? job.sinF2 + tile.firstPixel : nullptr;
    uchar* line = nullptr;
    const auto startRow = [&](int, int row) { line = job.bits + job.bytesPerLine * row; };
    job.terms.withFormulas([&]<bool kHasSinF2, int kBarvRow>() {
        job.tiles.forEachPixel(tile, startRow, [&](int rowKey, int, int column) {
            const RadialTerms& radial = table[job.tiles.tableIndex(tile, rowKey, column)];
            if constexpr (kHasSinF2) {
                line[column] = job.terms.indexBy<true, kBarvRow>(radial, *sinF1++, *sinF2++);
            } else {
                const std::int16_t kept = *bl++;
                line[column] = job.terms.indexOfBl<false, kBarvRow>(radial, radial.re, kept == kFailedBl ? kFailedTerm : kept);
            }
        });
    });
}

// The tile's pixels: the terms of each pair of its keys first, then the pixels with rows
// of B and columns of A, and with rows of A and columns of B. Returns the pixels painted.
long long paintTile(FrameJob& job, std::vector<RadialTerms>& table, const FrameTile& tile)
{
    const FrameTiles& tiles = job.tiles;
    const int keys = tiles.keys();
    for (int b = tile.firstB; b < std::min(tile.firstB + kTileKeys, keys); ++b) {
        for (int a = tile.firstA; a < std::min(tile.firstA + kTileKeys, b + 1); ++a) {
            const bool isUsed = (!tiles.columnsOf.isEmpty(a) && !tiles.rowsOf.isEmpty(b))
                || (!tiles.columnsOf.isEmpty(b) && !tiles.rowsOf.isEmpty(a));
            // Made in its place: a copy would read back at once, in halves, what the call
            // has just written in quarters, and wait for the writes to land.
            if (isUsed)
                ::new (&table[static_cast<std::size_t>((b - tile.firstB) * kTileKeys + (a - tile.firstA))])
                    RadialTerms(job.terms.radial(tiles.absolute[static_cast<std::size_t>(a)],
                                                 tiles.absolute[static_cast<std::size_t>(b)]));
        }
    }
    if (job.bl || job.sinF1) {
        paintTileKept(job, table.data(), tile);
    } else {
        paintRegion(job, table.data(), tile, tile.firstB, tiles.columnsOfBlock(tile.firstA));
        if (tile.firstA != tile.firstB)
            paintRegion(job, table.data(), tile, tile.firstA, tiles.columnsOfBlock(tile.firstB));
    }
    return tiles.rowsOf.countOfBlock(tile.firstB) * tiles.columnsOf.countOfBlock(tile.firstA)
        + (tile.firstA != tile.firstB ? tiles.rowsOf.countOfBlock(tile.firstA) * tiles.columnsOf.countOfBlock(tile.firstB) : 0);
}

// Paints the tiles on the shared pool, each worker with a table of its own, and reports
// progress from the calling thread between its tiles.
void paintTiles(FrameJob& job, int threads, const FrameProgress& progress, const std::atomic<bool>* cancel)
{
    using Clock = std::chrono::steady_clock;
    const std::vector<FrameTile>& tiles = job.tiles.tiles;
    const int count = std::clamp(threads, 1, std::max(1, static_cast<int>(tiles.size())));
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
        static_cast<long long>(tiles.size()), count,
        [&](long long tile, int worker) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return;
            std::vector<RadialTerms>& table = tables[static_cast<std::size_t>(worker)];
            if (table.empty())
                table.resize(static_cast<std::size_t>(kTileKeys) * kTileKeys);
            job.pixelsDone.fetch_add(paintTile(job, table, tiles[static_cast<std::size_t>(tile)]),
                                     std::memory_order_relaxed);
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
                              const std::atomic<bool>* cancel, FrameAngles* angles) const
{
    Q_ASSERT(size.width() >= 1 && size.height() >= 1 && threads >= 1);
    const int width = size.width();
    const int shorter = shorterSide(width, size.height());
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    image.setColorTable(m_table);

    std::vector<double> ys;
    const std::vector<double> allYs = rowYs(size.height(), shorter);
    for (int row : rows)
        ys.push_back(allYs[static_cast<std::size_t>(row)]);
    FrameJob job(m_terms, columnXs(width, shorter), std::move(ys));
    job.bits = image.bits();
    job.bytesPerLine = image.bytesPerLine();
    job.rows = static_cast<int>(rows.size());
    job.pixels = static_cast<long long>(width) * job.rows;
    if (angles && angles->prepare(job.tiles, m_terms, threads, cancel)) {
        job.bl = angles->bl();
        job.sinF1 = angles->sinF1();
        job.sinF2 = angles->sinF2();
    }
    paintTiles(job, threads, progress, cancel);
    if (cancel && cancel->load(std::memory_order_acquire))
        return {};
    return image;
}

QImage FrameEngine::paint(QSize size, int threads, const FrameProgress& progress, const std::atomic<bool>* cancel,
                          FrameAngles* angles) const
{
    std::vector<int> rows(static_cast<std::size_t>(std::max(0, size.height())));
    for (std::size_t row = 0; row < rows.size(); ++row)
        rows[row] = static_cast<int>(row);
    return paintRows(size, rows, threads, progress, cancel, angles);
}

} // namespace mandalix
