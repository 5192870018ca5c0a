#pragma once
// A BMP's pixel body made into the rows of one of the library's images (bottom-up,
// each padded to 4 bytes): indices of 1, 2 and 4 bits and run-length streams into
// 8-bit indices; 16 and 32-bit pixels with any masks into 24-bit blue, green, red, with
// their alpha laid over white; rows kept at their depth where the library has it.
// The caller has checked that the body holds every row the layout declares.

#include "BmpLayout.h"

#include <array>
#include <span>

// The rows as they are (8-bit indices, 16-bit 5-5-5, 24-bit), turned bottom-up.
[[nodiscard]] DibError copiedRows(const BmpLayout& layout, std::span<const std::uint8_t> body, Bytes& rows);
// 8-bit index rows of a 1, 2 or 4-bit image.
[[nodiscard]] DibError unpackedIndices(const BmpLayout& layout, std::span<const std::uint8_t> body, Bytes& rows);
// 8-bit index rows of a BI_RLE8 or BI_RLE4 stream; DecodeFailed for a cut stream.
[[nodiscard]] DibError runLengthIndices(const BmpLayout& layout, std::span<const std::uint8_t> stream, Bytes& rows);
// 24-bit rows of 16 or 32-bit pixels with the channel masks (red, green, blue, alpha).
[[nodiscard]] DibError maskedColours(const BmpLayout& layout, const std::array<ChannelMask, 4>& masks,
                                     std::span<const std::uint8_t> body, Bytes& rows);

// Whether the masks are 16-bit 5-5-5 without alpha, the library's own 16-bit layout.
[[nodiscard]] bool isFiveFiveFive(const BmpLayout& layout, const std::array<ChannelMask, 4>& masks);
