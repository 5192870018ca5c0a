#pragma once
// Where a BMP file keeps what: the fields of any of its info headers (OS/2's 12 and 64
// bytes, Windows' 40, 52, 56, 108 and 124), the bit-field masks, the palette and the
// pixel body, read from the file's bytes without trusting any of them.
//
//  0 "BM" | 2 u32 file size | 10 u32 offset of the pixels | 14 u32 info size
//  12-byte info: 18 u16 width | 20 u16 height | 22 u16 planes | 24 u16 bits; palette of
//                3-byte entries (blue, green, red) at 26
//  larger info:  18 i32 width | 22 i32 height (negative: rows top-down) | 26 u16 planes |
//                28 u16 bits | 30 u32 compression | 34 u32 body size | 46 u32 colours used;
//                from 52 bytes on the red, green, blue masks at 54, from 56 the alpha mask
//                at 66; a 40-byte info with bit fields has its masks after it (three, or
//                four for BI_ALPHABITFIELDS); 4-byte palette entries follow

#include "Dib.h"

#include <array>
#include <cstdint>
#include <span>

inline constexpr std::uint32_t BI_RLE4 = 2;
inline constexpr std::uint32_t BI_BITFIELDS = 3;
inline constexpr std::uint32_t BI_JPEG = 4;
inline constexpr std::uint32_t BI_PNG = 5;
inline constexpr std::uint32_t BI_ALPHABITFIELDS = 6;

struct BmpLayout {
    std::uint64_t offset = 0;  // of the pixel body in the file
    std::uint32_t infoSize = 0;
    int width = 0;
    int height = 0;  // always positive; topDown says the row order
    bool topDown = false;
    int bitCount = 0;  // 1, 2, 4, 8, 16, 24, 32; 0 for an embedded JPEG or PNG
    std::uint32_t compression = BI_RGB;
    std::uint32_t sizeImage = 0;  // the body's declared bytes, 0 when not given
    std::uint32_t colorsUsed = 0;
    std::uint64_t paletteAt = 0;  // the palette's first byte in the file
    std::size_t paletteEntryBytes = 4;
    std::uint64_t masksAt = 0;  // 0: the masks are the format's defaults
    int maskCount = 0;          // 3 (red, green, blue) or 4 (and alpha)

    [[nodiscard]] bool embedded() const { return compression == BI_JPEG || compression == BI_PNG; }
    [[nodiscard]] bool runLength() const { return compression == BI_RLE8 || compression == BI_RLE4; }
    [[nodiscard]] bool bitFields() const { return compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS; }
    [[nodiscard]] bool indexed() const { return bitCount > 0 && bitCount <= 8; }
};

// The layout from the file's first bytes (the headers, at least 26 of them); false for
// anything that is no BMP this reader decodes: a header size, depth, compression or
// plane count it does not know, or a combination of them that the format does not have.
[[nodiscard]] bool parseBmpLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize, BmpLayout& layout);

// The little-endian value of width bytes at at; the caller knows they are there.
[[nodiscard]] std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::uint64_t at, int width);

// A colour channel's mask: where it starts and how many bits it has.
struct ChannelMask {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};
// The masks of the red, green, blue and alpha channels (alpha's 0 when the image has
// none): the file's, or the depth's defaults. false when the bytes lack them or a mask
// is not one run of bits, runs past the depth, or overlaps another.
[[nodiscard]] bool readChannelMasks(std::span<const std::uint8_t> file, const BmpLayout& layout,
                                    std::array<ChannelMask, 4>& masks);
