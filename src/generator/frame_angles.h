// The angular terms of every pixel of a frame, kept from one painting to the next: a
// sequence of pictures that share their coordinates, the multipliers of the angle and
// komp3 (the frames of one half of a morph between two pictures of one view) works out
// the arctangent and the sines of each pixel once instead of once a frame. The frame
// engine has it prepare a frame's terms (on the shared pool) and reads them. One owner, one
// painting at a time; nothing fails: a frame whose terms would take more than the budget
// paints without them.
#pragma once

#include "generator/frame_tiles.h"
#include "generator/pixel_terms.h"

#include <QtGlobal>

#include <atomic>
#include <cstdint>
#include <limits>
#include <vector>

namespace mandalix {

// A kept bl of a pixel that fails.
inline constexpr std::int16_t kFailedBl = std::numeric_limits<std::int16_t>::min();

class FrameAngles {
public:
    // Keeps at most `maxBytes` of terms.
    explicit FrameAngles(qsizetype maxBytes) : m_maxBytes(maxBytes) { }
    qsizetype maxBytes() const { return m_maxBytes; } // the budget
    FrameAngles(const FrameAngles&) = delete;
    FrameAngles& operator=(const FrameAngles&) = delete;

    // What the terms of `pixels` pixels take: under formula sets 1 to 3 a pixel's bl,
    // which komp3 and the sine of f1 * fi decide, as a 16-bit number; under formula set 4
    // the two sines.
    static qsizetype bytesFor(qsizetype pixels, bool hasSinF2)
    {
        return pixels * qsizetype(hasSinF2 ? 2 * sizeof(double) : sizeof(std::int16_t));
    }

    // What the terms kept now take.
    qsizetype bytes() const
    {
        return qsizetype(m_bl.capacity() * sizeof(std::int16_t) + (m_sinF1.capacity() + m_sinF2.capacity()) * sizeof(double));
    }

    // The frame engine's side. Makes the terms kept those of the pixels of `tiles` under
    // `terms`, working them out on at most `threads` threads of the shared pool unless they
    // are kept already. False, and nothing kept, when they would take more than the budget,
    // a bl does not fit 16 bits, or `cancel` was set on the way.
    bool prepare(const FrameTiles& tiles, const PixelTerms& terms, int threads, const std::atomic<bool>* cancel);
    // Each pixel's terms in the tiles' order of pixels (FrameTiles::forEachPixel): its bl
    // (kFailedBl where it fails) without the sines of f2 * fi, else its two sines; null
    // when not kept.
    const std::int16_t* bl() const { return m_bl.empty() ? nullptr : m_bl.data(); }
    const double* sinF1() const { return m_sinF1.empty() ? nullptr : m_sinF1.data(); }
    const double* sinF2() const { return m_sinF2.empty() ? nullptr : m_sinF2.data(); }

private:
    bool holds(const std::vector<double>& xs, const std::vector<double>& ys, const AngularKey& key) const;
    bool reset(const std::vector<double>& xs, const std::vector<double>& ys, const AngularKey& key);
    bool fill(const FrameTiles& tiles, const PixelTerms& terms, const FrameTile& tile);
    void clear();

    qsizetype m_maxBytes;
    bool m_isFilled = false;
    std::vector<double> m_xs, m_ys;
    AngularKey m_key;
    std::vector<std::int16_t> m_bl;
    std::vector<double> m_sinF1, m_sinF2;
};

} // namespace mandalix
