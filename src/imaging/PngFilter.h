#pragma once
// PNG scanline filters and the choice among them.

#include <cstddef>
#include <cstdint>
#include <vector>

// Filter types as the PNG format numbers them; a filter set is a mask of 1 << type.
enum PngFilterType : std::uint8_t { FilterNone = 0, FilterSub = 1, FilterUp = 2, FilterAverage = 3, FilterPaeth = 4 };
inline constexpr unsigned AllPngFilters = 0x1F;

// Writes the filter byte and the filtered bytes of one scanline (length bytes,
// bytesPerPixel apart) to out[0 .. length]. prior is the previous scanline of the same
// image or pass, or nullptr for the first. With several filters allowed, the one whose
// output has the least sum of absolute values (as signed bytes) wins.
void filterScanline(const std::uint8_t* row, const std::uint8_t* prior, std::size_t length, std::size_t bytesPerPixel,
                    unsigned allowed, std::uint8_t* out, std::vector<std::uint8_t>& scratch);
