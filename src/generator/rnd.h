// The program's random generator: one object, reseeded from the seconds since midnight
// at start-up and at every new picture. Each draw is a single-precision number in [0, 1)
// with 24 random bits. The same seed gives the same sequence on every machine.
// Algorithm: PCG32 (XSH RR, 64-bit state, O'Neill 2014); the seed's float bit pattern
// goes through SplitMix64 to make the state and the stream. Not thread-safe: one owner.
#pragma once

#include <cstdint>

namespace mandalix {

// The largest number a draw gives: 1 - 2^-24.
inline constexpr float kRndLargest = 16777215.0f / 16777216.0f;

class Rnd {
public:
    explicit Rnd(float seed = 0.0f) { Randomize(seed); }

    // Restarts the sequence from a seed; equal seeds give equal sequences.
    void Randomize(float seed);

    // The next number, uniform in [0, 1), a multiple of 2^-24.
    float next()
    {
        return static_cast<float>(nextBits() >> 8) * (1.0f / 16777216.0f);
    }

private:
    std::uint32_t nextBits()
    {
        const std::uint64_t old = m_state;
        m_state = old * 6364136223846793005ULL + m_increment;
        const auto xorShifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rotation = static_cast<std::uint32_t>(old >> 59u);
        return (xorShifted >> rotation) | (xorShifted << ((32u - rotation) & 31u));
    }

    std::uint64_t m_state = 0;
    std::uint64_t m_increment = 1;
};

} // namespace mandalix
