#include "generator/rnd.h"

#include <bit>

namespace mandalix {

namespace {

std::uint64_t splitMix64(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

void Rnd::Randomize(float seed)
{
    // +0 and -0 are the same moment; give them the same sequence.
    std::uint64_t mix = std::bit_cast<std::uint32_t>(seed == 0.0f ? 0.0f : seed);
    const std::uint64_t initState = splitMix64(mix);
    m_increment = (splitMix64(mix) << 1u) | 1u;
    m_state = 0;
    nextBits();
    m_state += initState;
    nextBits();
}

} // namespace mandalix
