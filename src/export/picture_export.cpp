#include "export/picture_export.h"

#include "generator/pixel_terms.h"
#include "generator/rnd.h"
#include "palette/colour_replace.h"
#include "program/picture_replay.h"
#include "program/surfaces.h"
#include "surface/surface_sizes.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace mandalix {

namespace {

// The colours of an indexed band with the replacements made on them in order; the entry
// of the failed pixels is left out, as those take the window's colours, already replaced.
QList<QRgb> replacedColours(const QImage& band, const std::vector<ColourReplacement>& replacements)
{
    QList<QRgb> colours = band.colorTable();
    ColourMap(replacements).mapTable(colours, kFailedIndex);
    return colours;
}

// Copies the painted band of rows from `first` into `image`, each failed pixel taking the
// colour of the nearest position of `window`.
void copyBand(QImage& image, int first, const QImage& band, const QList<QRgb>& colours,
              const QImage& window, const std::vector<int>& nearestColumn)
{
    const int shorter = std::min(image.width(), image.height());
    for (int k = 0; k < band.height(); ++k) {
        const int y = first + k;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* indices = band.constScanLine(k);
        const auto* shown = reinterpret_cast<const QRgb*>(
            window.constScanLine(nearestGridPosition(y, image.height(), shorter)));
        for (int x = 0; x < image.width(); ++x)
            line[x] = indices[x] == kFailedIndex ? shown[nearestColumn[static_cast<std::size_t>(x)]]
                                                 : colours[indices[x]];
    }
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

QImage paintRowsAtSize(const WindowState& state, const Surface& picture3, QSize size,
                       const std::vector<int>& rows, int threads, const ScaledProgress& progress)
{
    return paintScaledRows(state, picture3, size, rows, threads, progress);
}

QImage paintExport(const PictureRecord& record, const QImage& shown, QSize size, int threads,
                   const std::atomic<bool>& cancel, const ScaledProgress& progress)
{
    const QImage window = shown.convertToFormat(QImage::Format_RGB32);
    if (size == window.size())
        return window;
    WindowState s;
    Surfaces surfaces;
    Rnd rnd;
    setStartUpDefaults(s, record.nac);
    beginRecordedPicture(s, surfaces, rnd, record);

    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const int shorter = std::min(size.width(), size.height());
    std::vector<int> nearestColumn(static_cast<std::size_t>(size.width()));
    for (int x = 0; x < size.width(); ++x)
        nearestColumn[static_cast<std::size_t>(x)] = nearestGridPosition(x, size.width(), shorter);
    for (int first = 0; first < size.height(); first += kExportBandRows) {
        if (cancel.load(std::memory_order_acquire))
            return {};
        std::vector<int> rows(static_cast<std::size_t>(std::min(kExportBandRows, size.height() - first)));
        std::iota(rows.begin(), rows.end(), first);
        const QImage band = paintRowsAtSize(s, surfaces.Picture3, size, rows, threads,
                                            [&](long long done, long long) {
                                                if (progress)
                                                    progress(first + done, size.height());
                                            });
        if (band.isNull())
            return {};
        copyBand(image, first, band, replacedColours(band, record.replacements), window, nearestColumn);
    }
    if (progress)
        progress(size.height(), size.height());
    return image;
}

} // namespace mandalix
