// The angular terms of every pixel of a frame, kept from one painting to the next: a
// sequence of pictures that share their coordinates, the multipliers of the angle and
// komp3 (the frames of one half of a morph between two pictures of one view) works out
// the arctangent and the sines of each pixel once instead of once a frame. Only the frame
// engine fills and reads it. One owner, one painting at a time; nothing fails: a frame
// whose terms would take more than the budget paints without them.
#pragma once

#include "generator/pixel_terms.h"

#include <QtGlobal>

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

    // The frame engine's side, in the order the engine visits the frame's pixels. Whether
    // the terms kept are those of the pixels of columns `xs` by rows `ys` under `key`.
    bool holds(const std::vector<double>& xs, const std::vector<double>& ys, const AngularKey& key) const;
    // Starts keeping the terms of that frame; false (nothing kept) when they would take
    // more than the budget.
    bool reset(const std::vector<double>& xs, const std::vector<double>& ys, const AngularKey& key);
    // Keeps nothing.
    void clear();
    // Each pixel's bl (kFailedBl where it fails) without the sines, the two sines with them.
    // The engine writes them after reset() and then calls markFilled().
    std::int16_t* bl() { return m_bl.data(); }
    double* sinF1() { return m_sinF1.data(); }
    double* sinF2() { return m_sinF2.data(); }
    void markFilled() { m_isFilled = true; }

private:
    qsizetype m_maxBytes;
    bool m_isFilled = false;
    std::vector<double> m_xs, m_ys;
    AngularKey m_key;
    std::vector<std::int16_t> m_bl;
    std::vector<double> m_sinF1, m_sinF2;
};

} // namespace mandalix
