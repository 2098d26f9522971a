#include "video/palette_yuv.h"

#include "base/work_pool.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mandalix {

namespace {

// Rows of 4:2:0 pairs per index of the parallel-for.
constexpr int kPairsPerBand = 16;

struct YuvTable {
    std::array<uint8_t, 256> y{};
    std::array<uint8_t, 256> cb{};
    std::array<uint8_t, 256> cr{};
};

uint8_t studio(double value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

// BT.709: full-range RGB to luma 16..235 and colour differences 16..240.
YuvTable yuvOf(const QList<QRgb>& colours)
{
    constexpr double kr = 0.2126;
    constexpr double kb = 0.0722;
    YuvTable table;
    for (qsizetype i = 0; i < std::min<qsizetype>(colours.size(), 256); ++i) {
        const double r = qRed(colours[i]);
        const double g = qGreen(colours[i]);
        const double b = qBlue(colours[i]);
        const double luma = kr * r + (1 - kr - kb) * g + kb * b;
        table.y[std::size_t(i)] = studio(16 + luma * 219 / 255);
        table.cb[std::size_t(i)] = studio(128 + (b - luma) / (2 * (1 - kb)) * 224 / 255);
        table.cr[std::size_t(i)] = studio(128 + (r - luma) / (2 * (1 - kr)) * 224 / 255);
    }
    return table;
}

void convertPair(const QImage& indexed, const YuvTable& table, AVFrame& frame, int pair)
{
    const uchar* top = indexed.constScanLine(2 * pair);
    const uchar* bottom = indexed.constScanLine(2 * pair + 1);
    uint8_t* yTop = frame.data[0] + std::ptrdiff_t(2 * pair) * frame.linesize[0];
    uint8_t* yBottom = yTop + frame.linesize[0];
    uint8_t* cb = frame.data[1] + std::ptrdiff_t(pair) * frame.linesize[1];
    uint8_t* cr = frame.data[2] + std::ptrdiff_t(pair) * frame.linesize[2];
    for (int x = 0; x < indexed.width(); x += 2) {
        const uchar a = top[x], b = top[x + 1], c = bottom[x], d = bottom[x + 1];
        yTop[x] = table.y[a];
        yTop[x + 1] = table.y[b];
        yBottom[x] = table.y[c];
        yBottom[x + 1] = table.y[d];
        cb[x / 2] = uint8_t((table.cb[a] + table.cb[b] + table.cb[c] + table.cb[d] + 2) / 4);
        cr[x / 2] = uint8_t((table.cr[a] + table.cr[b] + table.cr[c] + table.cr[d] + 2) / 4);
    }
}

} // namespace

void indexedToYuv420(const QImage& indexed, AVFrame& frame)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8 && indexed.width() % 2 == 0 && indexed.height() % 2 == 0);
    const YuvTable table = yuvOf(indexed.colorTable());
    const int pairs = indexed.height() / 2;
    const long long bands = (pairs + kPairsPerBand - 1) / kPairsPerBand;
    sharedPool().parallelFor(bands, sharedPool().maxThreads(), [&](long long band, int) {
        const int first = static_cast<int>(band) * kPairsPerBand;
        for (int pair = first; pair < std::min(pairs, first + kPairsPerBand); ++pair)
            convertPair(indexed, table, frame, pair);
    });
}

} // namespace mandalix
