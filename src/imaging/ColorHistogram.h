#pragma once
// Colour statistics for the 8-bit reduction: pixels counted in cells of 6 bits per
// channel (64 x 64 x 64), each cell keeping its pixel count and channel sums.

#include "Dib.h"

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int CellBits = 6;
inline constexpr std::size_t CellCount = std::size_t{1} << (3 * CellBits);

[[nodiscard]] inline std::uint32_t cellOf(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    constexpr int drop = 8 - CellBits;
    return (std::uint32_t{r} >> drop) << (2 * CellBits) | (std::uint32_t{g} >> drop) << CellBits
           | (std::uint32_t{b} >> drop);
}

// One occupied cell: its index, its pixel count and the mean colour of its pixels.
struct ColorCell {
    std::uint32_t cell = 0;
    std::uint64_t count = 0;
    std::array<std::uint64_t, 3> sum{};  // red, green, blue sums over the pixels
    std::array<std::uint8_t, 3> mean{};  // red, green, blue, rounded
};

// Counts the pixels of an uncompressed 16 or 24-bit image; returns the occupied cells.
[[nodiscard]] DibError colorCells(const Dib& dib, std::vector<ColorCell>& cells);
