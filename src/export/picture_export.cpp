#include "export/picture_export.h"

#include "generator/frame_engine.h"
#include "palette/strip_colours.h"
#include "surface/surface_sizes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace mandalix {

namespace {

constexpr int kTableEntries = 256;

// The window's grid column nearest to each column of a picture of `size`.
std::vector<int> nearestColumns(QSize size)
{
    const int shorter = std::min(size.width(), size.height());
    std::vector<int> columns(static_cast<std::size_t>(size.width()));
    for (int x = 0; x < size.width(); ++x)
        columns[static_cast<std::size_t>(x)] = nearestGridPosition(x, size.width(), shorter);
    return columns;
}

// Calls visit(index, x, y) for every failed pixel of the indexed picture at `bits`,
// hopping over the rest a run at a time.
template <typename Byte, typename Visit>
void forEachFailedPixel(Byte* bits, qsizetype bytesPerLine, QSize size, Visit visit)
{
    for (int y = 0; y < size.height(); ++y) {
        Byte* line = bits + bytesPerLine * y;
        Byte* end = line + size.width();
        for (Byte* at = line; (at = static_cast<Byte*>(std::memchr(at, kFailedIndex, static_cast<std::size_t>(end - at))));
             ++at)
            visit(*at, static_cast<int>(at - line), y);
    }
}

// The entry of the colour table each of the window's grid positions gives the failed
// pixels nearest to it, or -1 for a position no failed pixel is near; the entries
// begin at kFailedIndex, one per distinct colour of `window`, and are appended to `table`.
// Empty when they need more entries than a table holds.
std::vector<int> failedEntries(const QImage& image, const QImage& window, const std::vector<int>& columns,
                               QList<QRgb>& table)
{
    const int shorter = std::min(image.width(), image.height());
    std::vector<int> entries(static_cast<std::size_t>(kPictureSizePx) * kPictureSizePx, -1);
    forEachFailedPixel(image.constBits(), image.bytesPerLine(), image.size(), [&](const uchar&, int x, int y) {
        entries[static_cast<std::size_t>(kPictureSizePx * nearestGridPosition(y, image.height(), shorter)
                                         + columns[static_cast<std::size_t>(x)])] = 0;
    });
    table.resize(kFailedIndex);
    std::unordered_map<QRgb, int> entryOfColour;
    for (std::size_t position = 0; position < entries.size(); ++position) {
        if (entries[position] < 0)
            continue;
        const QRgb colour = window.pixel(static_cast<int>(position % kPictureSizePx),
                                         static_cast<int>(position / kPictureSizePx));
        const auto [at, isNew] = entryOfColour.try_emplace(colour, static_cast<int>(table.size()));
        if (isNew) {
            if (table.size() == kTableEntries)
                return {};
            table.push_back(colour);
        }
        entries[position] = at->second;
    }
    return entries;
}

// Gives each failed pixel of the indexed `image` (its strip entries recoloured) the
// colour `window` shows at the nearest position, through entries of its own; false, and
// `image` unchanged, when those colours do not fit in the table.
bool giveFailedPixelsEntries(QImage& image, const QImage& window, const std::vector<int>& columns)
{
    QList<QRgb> table = image.colorTable();
    const std::vector<int> entries = failedEntries(image, window, columns, table);
    if (entries.empty())
        return false;
    const int shorter = std::min(image.width(), image.height());
    forEachFailedPixel(image.bits(), image.bytesPerLine(), image.size(), [&](uchar& index, int x, int y) {
        index = static_cast<uchar>(entries[static_cast<std::size_t>(kPictureSizePx * nearestGridPosition(y, image.height(), shorter)
                                                                    + columns[static_cast<std::size_t>(x)])]);
    });
    image.setColorTable(table);
    return true;
}

// The indexed `image` as RGB32, each failed pixel taking the colour of the nearest
// position of `window`; null when memory ran out.
QImage withFailedPixelsInRgb(const QImage& image, const QImage& window, const std::vector<int>& columns)
{
    QImage rgb(image.size(), QImage::Format_RGB32);
    if (rgb.isNull())
        return rgb;
    const QList<QRgb> colours = image.colorTable();
    const int shorter = std::min(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(rgb.scanLine(y));
        const uchar* indices = image.constScanLine(y);
        const auto* shown = reinterpret_cast<const QRgb*>(
            window.constScanLine(nearestGridPosition(y, image.height(), shorter)));
        for (int x = 0; x < image.width(); ++x)
            line[x] = indices[x] == kFailedIndex ? shown[columns[static_cast<std::size_t>(x)]] : colours[indices[x]];
    }
    return rgb;
}

} // namespace

QString exportSizeProblem(QSize size)
{
    if (size.width() < 1 || size.height() < 1)
        return QStringLiteral("%1 x %2 pixels: a side must be at least 1 pixel")
            .arg(size.width()).arg(size.height());
    if (size.width() > kMaxExportSidePx || size.height() > kMaxExportSidePx)
        return QStringLiteral("%1 x %2 pixels: a side may be at most %3 pixels")
            .arg(size.width()).arg(size.height()).arg(kMaxExportSidePx);
    return {};
}

int nearestGridPosition(int index, int length, int shorter)
{
    const double position = framedPosition(index, length, shorter);
    return std::clamp(static_cast<int>(std::lround(position)), 0, kPictureSizePx - 1);
}

ExportPicture paintExportPicture(const PictureRecord& record, const QImage& shown, QSize size, int threads,
                                 const std::atomic<bool>& cancel, const ScaledProgress& progress)
{
    ExportPicture picture;
    picture.window = shown.convertToFormat(QImage::Format_RGB32);
    if (size == picture.window.size())
        return picture;
    // At once, as the renderer paints, so that no distance's terms are worked out twice;
    // the engine looks at the flag between tiles. The failed pixels take the window's
    // colours, already recoloured, so the table's failed entry is not used.
    const FrameEngine engine(frameStateOf(record), frameColourTable(record));
    picture.indices = engine.paint(size, threads, progress, &cancel);
    if (picture.indices.isNull() || cancel.load(std::memory_order_acquire))
        return {};
    picture.columns = nearestColumns(size);
    picture.isRgb = !giveFailedPixelsEntries(picture.indices, picture.window, picture.columns);
    return picture;
}

PngRows pngRowsOf(const ExportPicture& picture)
{
    if (!picture.isRgb)
        return indexedRows(picture.indices);
    const QImage& image = picture.indices;
    const int shorter = std::min(image.width(), image.height());
    return {image.size(), {}, [&picture, shorter](int y, unsigned char* out) -> const unsigned char* {
                const QImage& indexed = picture.indices;
                const QList<QRgb> table = indexed.colorTable();
                const uchar* indices = indexed.constScanLine(y);
                const auto* shown = reinterpret_cast<const QRgb*>(
                    picture.window.constScanLine(nearestGridPosition(y, indexed.height(), shorter)));
                for (int x = 0; x < indexed.width(); ++x) {
                    const QRgb colour = indices[x] == kFailedIndex ? shown[picture.columns[static_cast<std::size_t>(x)]]
                                                                   : table[indices[x]];
                    out[3 * x] = static_cast<unsigned char>(qRed(colour));
                    out[3 * x + 1] = static_cast<unsigned char>(qGreen(colour));
                    out[3 * x + 2] = static_cast<unsigned char>(qBlue(colour));
                }
                return out;
            }};
}

QImage paintExport(const PictureRecord& record, const QImage& shown, QSize size, int threads,
                   const std::atomic<bool>& cancel, const ScaledProgress& progress)
{
    ExportPicture picture = paintExportPicture(record, shown, size, threads, cancel, progress);
    if (size == picture.window.size())
        return picture.window;
    if (picture.isRgb)
        return withFailedPixelsInRgb(picture.indices, picture.window, picture.columns);
    return picture.indices;
}

} // namespace mandalix
