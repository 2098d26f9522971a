#include "generator/frame_angles.h"

#include "base/work_pool.h"

#include <cmath>
#include <cstring>

namespace mandalix {

namespace {

// Bit for bit: a coordinate of -0 is not the one of +0.
bool isSame(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

} // namespace

bool FrameAngles::holds(const std::vector<double>& xs, const std::vector<double>& ys, const AngularKey& key) const
{
    return m_isFilled && m_key == key && isSame(m_xs, xs) && isSame(m_ys, ys);
}

bool FrameAngles::reset(const std::vector<double>& xs, const std::vector<double>& ys, const AngularKey& key)
{
    clear();
    const qsizetype pixels = qsizetype(xs.size()) * qsizetype(ys.size());
    if (bytesFor(pixels, key.hasSinF2) > m_maxBytes)
        return false;
    m_xs = xs;
    m_ys = ys;
    m_key = key;
    if (key.hasSinF2) {
        m_sinF1.resize(static_cast<std::size_t>(pixels));
        m_sinF2.resize(static_cast<std::size_t>(pixels));
    } else {
        m_bl.resize(static_cast<std::size_t>(pixels));
    }
    return true;
}

void FrameAngles::clear()
{
    m_isFilled = false;
    m_xs.clear();
    m_ys.clear();
    std::vector<std::int16_t>().swap(m_bl);
    std::vector<double>().swap(m_sinF1);
    std::vector<double>().swap(m_sinF2);
}

bool FrameAngles::prepare(const FrameTiles& tiles, const PixelTerms& terms, int threads,
                          const std::atomic<bool>* cancel)
{
    const AngularKey key = terms.angularKey();
    if (holds(tiles.xs, tiles.ys, key))
        return true;
    if (!reset(tiles.xs, tiles.ys, key))
        return false;
    std::atomic<bool> fits{true};
    sharedPool().parallelFor(static_cast<long long>(tiles.tiles.size()), threads, [&](long long t, int) {
        if ((cancel && cancel->load(std::memory_order_relaxed)) || !fits.load(std::memory_order_relaxed))
            return;
        if (!fill(tiles, terms, tiles.tiles[static_cast<std::size_t>(t)]))
            fits.store(false, std::memory_order_relaxed);
    });
    if ((cancel && cancel->load(std::memory_order_acquire)) || !fits.load()) {
        clear();
        return false;
    }
    m_isFilled = true;
    return true;
}

// The terms of the pixels of `tile`, at their places in the tiles' order of pixels (each
// tile's are written by one thread). False when a bl does not fit 16 bits.
bool FrameAngles::fill(const FrameTiles& tiles, const PixelTerms& terms, const FrameTile& tile)
{
    const bool hasSinF2 = m_key.hasSinF2;
    qsizetype at = tile.firstPixel;
    double y = 0;
    bool fits = true;
    tiles.forEachPixel(tile, [&](int, int row) { y = tiles.ys[static_cast<std::size_t>(row)]; },
                       [&](int, int, int column) {
                           const AngularTerms a = terms.angular(tiles.xs[static_cast<std::size_t>(column)], y);
                           const auto pixel = static_cast<std::size_t>(at++);
                           if (hasSinF2) {
                               m_sinF1[pixel] = a.sinF1;
                               m_sinF2[pixel] = a.sinF2;
                               return;
                           }
                           const double bl = terms.blOf(a.sinF1);
                           fits = fits && (!isFiniteNumber(bl) || std::fabs(bl) <= INT16_MAX);
                           m_bl[pixel] = isFiniteNumber(bl) && fits ? static_cast<std::int16_t>(bl) : kFailedBl;
                       });
    return fits;
}

} // namespace mandalix
