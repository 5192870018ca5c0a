#pragma once
// Median cut: divides the colour cells into at most maxColors boxes and picks one
// colour per box.

#include "ColorHistogram.h"

#include <cstdint>
#include <vector>

// Returns one red, green, blue colour per box. The box split next is the one whose
// colour has the largest squared error over its pixels; it is cut across the axis the
// split method chooses, where the two halves' squared errors add up to the least.
// cells is reordered.
[[nodiscard]] std::vector<std::array<std::uint8_t, 3>> medianCut(std::vector<ColorCell>& cells,
                                                                 std::uint32_t methodFlags, int maxColors);
