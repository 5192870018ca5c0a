#pragma once
// Finds the palette entry for a colour under the chosen distance: RGB, brightness
// (luma alone) or Y, Cr, Cb.

#include <array>
#include <cstdint>
#include <vector>

class PaletteMatcher
{
public:
    // palette: red, green, blue per entry; methodFlags: the DIBto8Bit flags.
    PaletteMatcher(const std::vector<std::array<std::uint8_t, 3>>& palette, std::uint32_t methodFlags);

    // Index of the nearest entry (the lowest index among equals). guess, an entry likely
    // to be near such as the last colour's, only shortens the search.
    [[nodiscard]] std::uint8_t nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t guess = 0) const;

private:
    using Point = std::array<std::int32_t, 3>;
    [[nodiscard]] Point toPoint(std::uint8_t r, std::uint8_t g, std::uint8_t b) const;

    std::uint32_t m_flags;
    std::vector<Point> m_points;          // entries in the metric's space, sorted by the first coordinate
    std::vector<std::uint8_t> m_indices;  // palette index of each sorted point
    std::vector<Point> m_byIndex;         // the points in palette order
};
