#pragma once
// The brightness of a colour: ITU-R BT.601 luma, used alike by the grey step, the
// brightness split of the median cut and the brightness / YCrCb palette matches.

#include <cstdint>

inline constexpr double LumaRed = 0.299;
inline constexpr double LumaGreen = 0.587;
inline constexpr double LumaBlue = 0.114;

[[nodiscard]] inline double lumaOf(double r, double g, double b) { return LumaRed * r + LumaGreen * g + LumaBlue * b; }

// The same weights in 16-bit fixed point, rounded one by one; they add up to 65536.
inline constexpr unsigned LumaRed16 = static_cast<unsigned>(LumaRed * 65536 + 0.5);
inline constexpr unsigned LumaGreen16 = static_cast<unsigned>(LumaGreen * 65536 + 0.5);
inline constexpr unsigned LumaBlue16 = static_cast<unsigned>(LumaBlue * 65536 + 0.5);
static_assert(LumaRed16 + LumaGreen16 + LumaBlue16 == 65536);

// Luma of 8-bit channels, rounded to the nearest level.
[[nodiscard]] inline unsigned luma8(unsigned r, unsigned g, unsigned b)
{
    return (r * LumaRed16 + g * LumaGreen16 + b * LumaBlue16 + 32768) >> 16;
}
