// Colours as the program holds them, and the rounding that turns numbers into them.
// A colour is one integer, red + 256 * green + 65536 * blue; -1 is "no colour", what a
// surface answers outside its drawing area. Pure functions, safe on any thread.
#pragma once

#include <cmath>
#include <cstdint>

namespace mandalix {

using Colour = std::int32_t;

inline constexpr Colour kNoColour = -1;
inline constexpr Colour kBlack = 0;
inline constexpr Colour kWhite = 0xFFFFFF;

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Relies on the default rounding mode, which the program never changes.
inline double roundHalfEven(double v) { return std::nearbyint(v); }

// Int(v): the largest whole number not greater than v, so Int(-0.5) = -1.
inline double Int(double v) { return std::floor(v); }

// Rounds v to single precision and back, as a value stored in a single-precision variable.
// The value passes through memory: GCC 12's straight-line vectorizer drops the round trip
// when two neighbouring fields are rounded from numbers that started as floats.
inline double toSingle(double v)
{
    volatile float stored = static_cast<float>(v);
    return stored;
}

// One channel rounded half to even and held to 0..255; a value that is not a number
// (a strip drawn from waves of zero length) counts as 0.
inline Colour channel(double v)
{
    const double rounded = roundHalfEven(v);
    return !(rounded > 0) ? 0 : rounded >= 255 ? 255 : static_cast<Colour>(rounded);
}

// Packs three channels, each rounded half to even first and held to 0..255.
inline Colour rgbColour(double red, double green, double blue)
{
    return channel(red) + 256 * channel(green) + 65536 * channel(blue);
}

inline constexpr int redOf(Colour c) { return c & 0xFF; }
inline constexpr int greenOf(Colour c) { return (c >> 8) & 0xFF; }
inline constexpr int blueOf(Colour c) { return (c >> 16) & 0xFF; }

// True for the colours a surface can hold (0..0xFFFFFF).
inline constexpr bool isColour(Colour c) { return c >= 0 && c <= kWhite; }

// Conversions to and from Qt's 0xAARRGGBB pixels, as the rasters store them.
inline constexpr std::uint32_t toArgb(Colour c)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(redOf(c)) << 16)
        | (static_cast<std::uint32_t>(greenOf(c)) << 8) | static_cast<std::uint32_t>(blueOf(c));
}

inline constexpr Colour fromArgb(std::uint32_t argb)
{
    return static_cast<Colour>(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16));
}

} // namespace mandalix
