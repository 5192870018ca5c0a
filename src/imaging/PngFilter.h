#pragma once
// PNG scanline filters and the choice among them.

#include <cstddef>
#include <cstdint>
#include <vector>

// Filter types as the PNG format numbers them; a filter set is a mask of 1 << type.
enum PngFilterType : std::uint8_t { FilterNone = 0, FilterSub = 1, FilterUp = 2, FilterAverage = 3, FilterPaeth = 4 };
inline constexpr unsigned AllPngFilters = 0x1F;

// The Paeth predictor of a byte from its left (a), upper (b) and upper-left (c)
// neighbours, for plain integers and for GCC vectors of them alike. Branch-free, each
// distance the larger of a difference and its negation, so that loops over it
// vectorise and a pixel's chain of dependent steps stays short: p - a = b - c,
// p - b = a - c, p - c = (a - c) + (b - c).
template<class T>
T paethPredictor(T a, T b, T c)
{
    const T bc = b - c;
    const T cb = c - b;
    const T ac = a - c;
    const T ca = c - a;
    const T pa = bc > cb ? bc : cb;
    const T pb = ac > ca ? ac : ca;
    const T sum = ac + bc;
    const T negated = ca + cb;
    const T pc = sum > negated ? sum : negated;
    const T nearer = pb > pc ? c : b;
    const T least = pb < pc ? pb : pc;
    return pa > least ? nearer : a;
}

// Writes the filter byte and the filtered bytes of one scanline (length bytes,
// bytesPerPixel apart) to out[0 .. length]. prior is the previous scanline of the same
// image or pass, or nullptr for the first. With several filters allowed, the one whose
// output has the least sum of absolute values (as signed bytes) wins.
void filterScanline(const std::uint8_t* row, const std::uint8_t* prior, std::size_t length, std::size_t bytesPerPixel,
                    unsigned allowed, std::uint8_t* out, std::vector<std::uint8_t>& scratch);

// The pixels of a scanline (length bytes, bytesPerPixel 1 or 3) that repeat neither
// their left nor their upper neighbour in prior (nullptr for the first scanline). On
// screenshots, deflate's time over rows follows this count closely, where it follows
// neither their bytes nor the filters' sums: text costs several times a flat area.
[[nodiscard]] std::uint32_t freshPixels(const std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                                        std::size_t bytesPerPixel);
