#pragma once
// Colour statistics for the 8-bit reduction: pixels counted in cells of 6 bits per
// channel (64 x 64 x 64), each cell keeping its pixel count and channel sums.

#include "Dib.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

inline constexpr int CellBits = 6;
inline constexpr std::size_t CellCount = std::size_t{1} << (3 * CellBits);

// Calls pixel(x, rgb) for the pixels of a blue, green, red row from left to right, rgb
// being 0xRRGGBB. All but the last pixel are read in one load each, which takes in the
// next pixel's first byte too (the rows are little-endian like the machines built for).
template<class Pixel>
void forEachRgb(const std::uint8_t* bgr, int width, const Pixel& pixel)
{
    int x = 0;
    for (; x + 1 < width; ++x, bgr += 3) {
        std::uint32_t word = 0;
        std::memcpy(&word, bgr, sizeof word);
        pixel(x, word & 0xFFFFFFu);
    }
    if (x < width)
        pixel(x, bgr[0] | std::uint32_t{bgr[1]} << 8 | std::uint32_t{bgr[2]} << 16);
}

// The cell of 0xRRGGBB: red, green, blue each cut to their top CellBits bits.
[[nodiscard]] inline std::uint32_t cellOf(std::uint32_t rgb)
{
    constexpr int drop = 8 - CellBits;
    constexpr std::uint32_t mask = (1u << CellBits) - 1;
    return ((rgb >> (16 + drop)) & mask) << (2 * CellBits) | ((rgb >> (8 + drop)) & mask) << CellBits
           | ((rgb >> drop) & mask);
}

// Pixels of one colour (0xRRGGBB) next to each other in a row.
struct ColorRun {
    std::uint32_t rgb;
    std::uint32_t length;
};

// The room colorRuns needs for a row of width pixels: one run more than the pixels
// and seven more that it may overwrite.
[[nodiscard]] inline std::size_t colorRunRoom(int width) { return static_cast<std::size_t>(width) + 8; }

// A row of blue, green, red pixels as runs of one colour into runs, which has room for
// colorRunRoom(width); returns their number. Screenshots are mostly flat areas, and
// comparing whole pixels is cheaper than finding their cells or palette entries.
[[nodiscard]] std::size_t colorRuns(const std::uint8_t* bgr, int width, ColorRun* runs);

// One occupied cell: its index, its pixel count and the mean colour of its pixels.
struct ColorCell {
    std::uint32_t cell = 0;
    std::uint64_t count = 0;
    std::array<std::uint64_t, 3> sum{};  // red, green, blue sums over the pixels
    std::array<std::uint8_t, 3> mean{};  // red, green, blue, rounded
};

// The rows [begin, end) (from the top) of one part of the image as runs of pixels of one
// colour, kept from the count so that the mapping to the palette needs neither the
// pixels nor their cells again. Each run names its cell by the part's slot number.
// Rows go bottom-up as stored, from end - 1; the runs stop at recordedFrom when they
// outgrow their budget, and the rows above are left to be read again.
struct RowRuns {
    static constexpr int LengthBits = 14;
    static constexpr std::uint32_t LongestRun = std::uint32_t{1} << LengthBits;

    int begin = 0;
    int end = 0;
    int recordedFrom = 0;
    std::vector<std::uint32_t> cellOfSlot;
    using Runs = std::vector<std::uint32_t, DefaultInitAllocator<std::uint32_t>>;
    Runs runs;  // slot << LengthBits | (length - 1)
};

// Counts the pixels of an uncompressed 16 or 24-bit image in up to two parts; returns
// the occupied cells and each part's runs.
[[nodiscard]] DibError colorCells(const Dib& dib, std::vector<ColorCell>& cells, std::array<RowRuns, 2>& parts);
