#include "generator/frame_angles.h"

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

} // namespace mandalix
