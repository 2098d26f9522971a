#include "program/picture_export.h"

#include "generator/rnd.h"
#include "program/picture_replay.h"
#include "program/surfaces.h"
#include "surface/surface_sizes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace mandalix {

namespace {

// A pixel the pipeline left unpainted, in a picture painted on black.
constexpr std::uint32_t kUnpainted = 0xFF000000;
// The alpha bits mark a pixel taken from the window's picture while the replacements run:
// a replacement matches opaque colours only, and the window's pixel is already replaced.
constexpr std::uint32_t kOpaque = 0xFF000000;

// Marks each failed pixel with the colour of the nearest position of `shown`, without
// alpha; the painted ones keep theirs.
void takeFailedFromShown(QImage& image, const QImage& shown)
{
    const int shorter = std::min(image.width(), image.height());
    std::vector<int> columns(static_cast<std::size_t>(image.width()));
    for (int x = 0; x < image.width(); ++x)
        columns[static_cast<std::size_t>(x)] = nearestGridPosition(x, image.width(), shorter);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        const auto* from = reinterpret_cast<const std::uint32_t*>(
            shown.constScanLine(nearestGridPosition(y, image.height(), shorter)));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == kUnpainted)
                line[x] = from[columns[static_cast<std::size_t>(x)]] & ~kOpaque;
        }
    }
}

void replaceInOrder(QImage& image, const std::vector<ColourReplacement>& replacements)
{
    for (const ColourReplacement& replacement : replacements) {
        const std::uint32_t from = toArgb(replacement.from);
        const std::uint32_t to = toArgb(replacement.to);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            std::replace(line, line + image.width(), from, to);
        }
    }
}

void makeOpaque(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= kOpaque;
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
    const double extraEachEnd = (length - shorter) / 2.0;
    const double position = (index + 0.5 - extraEachEnd) * kPictureSizePx / shorter - 0.5;
    return std::clamp(static_cast<int>(std::lround(position)), 0, kPictureSizePx - 1);
}

QImage paintAtSize(const WindowState& state, const Surface& picture3, QSize size, int threads,
                   const ScaledProgress& progress)
{
    // Until the generator paints any width and height: the squares of whole densities.
    const int scale = size.width() / kPictureSizePx;
    if (size.width() != size.height() || size.width() % kPictureSizePx != 0 || scale > kMaxScale)
        return {};
    return paintScaled(state, picture3, scale, threads, progress);
}

QImage paintExport(const PictureRecord& record, const QImage& shown, QSize size, int threads,
                   const ScaledProgress& progress)
{
    const QImage window = shown.convertToFormat(QImage::Format_RGB32);
    if (size == window.size())
        return window;
    WindowState s;
    Surfaces surfaces;
    Rnd rnd;
    setStartUpDefaults(s, record.nac);
    beginRecordedPicture(s, surfaces, rnd, record);
    QImage image = paintAtSize(s, surfaces.Picture3, size, threads, progress);
    if (image.isNull())
        return {};
    image = std::move(image).convertToFormat(QImage::Format_RGB32);
    takeFailedFromShown(image, window);
    replaceInOrder(image, record.replacements);
    makeOpaque(image);
    return image;
}

} // namespace mandalix
