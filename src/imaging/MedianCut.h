#pragma once
// Median cut: divides the colour cells into at most maxColors boxes and picks one
// colour per box.

#include "ColorHistogram.h"

#include <cstdint>
#include <vector>

// Method bits of DIBto8Bit, as the options window offers them.
inline constexpr std::uint32_t SplitByBrightness = 0x1;   // else by the widest channel
inline constexpr std::uint32_t ColorFromAllPixels = 0x80; // mean of every pixel in the box
inline constexpr std::uint32_t ColorFromDistinct = 0x100; // mean of the distinct colours in the box
inline constexpr std::uint32_t MatchBrightness = 0x1000;  // nearest luma
inline constexpr std::uint32_t MatchYCrCb = 0x20000;      // nearest in Y, Cr, Cb
                                                          // (no bit: the box's middle / nearest RGB)

// Returns one red, green, blue colour per box. The box split next is the one whose
// colour has the largest squared error over its pixels; it is cut across the axis the
// split method chooses, where the two halves' squared errors add up to the least.
// cells is reordered.
[[nodiscard]] std::vector<std::array<std::uint8_t, 3>> medianCut(std::vector<ColorCell>& cells, std::uint32_t methodFlags,
                                                                 int maxColors);
