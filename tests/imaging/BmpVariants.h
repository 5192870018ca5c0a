#pragma once
// BMP files of every variant, written byte by byte by the tests: any depth, compression,
// header size and row order, from one picture.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

struct BmpVariant {
    const char* name = "";
    int bits = 24;
    std::uint32_t compression = 0;  // 0 BI_RGB, 1 RLE8, 2 RLE4, 3 bit fields, 4 JPEG, 5 PNG, 6 alpha bit fields
    std::uint32_t infoSize = 40;    // 12, 40, 52, 56, 64, 108, 124
    bool topDown = false;
    std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha of bit fields
    std::uint32_t colorsUsed = 0;          // the header's field
    std::uint32_t paletteEntries = 0;      // written; 0: colorsUsed, or as many as the depth indexes
    std::uint8_t filler = 0;               // the fourth byte of 32-bit BI_RGB pixels
    bool deltas = true;                    // run-length: index 0 passed over by deltas and the early end
};

struct BmpPicture {
    int width = 0;
    int height = 0;
    std::function<std::uint32_t(int, int)> argb;  // 0xAARRGGBB of pixel (x, y), top row y = 0
    std::function<unsigned(int, int)> index;      // the palette index of pixel (x, y) at 8 bits
    std::vector<std::uint32_t> palette;           // 0xRRGGBB
};

// The picture's index at the variant's depth: index modulo the colours it can have.
[[nodiscard]] unsigned indexAtDepth(const BmpPicture& picture, int bits, int x, int y);
// The pixel body alone (rows padded to 4 bytes, or the run-length stream, which uses
// runs, absolute runs, ends of line and, with deltas, deltas over index 0 and an early
// end of bitmap over a last row of index 0).
[[nodiscard]] std::vector<std::uint8_t> bmpBody(const BmpVariant& variant, const BmpPicture& picture);
// The whole file; embedded: the body of BI_JPEG and BI_PNG.
[[nodiscard]] std::vector<std::uint8_t> bmpOf(const BmpVariant& variant, const BmpPicture& picture,
                                              const std::vector<std::uint8_t>& embedded = {});
