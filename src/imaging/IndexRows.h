#pragma once
// The rows of an 8-bit image being written: bottom-up, each padded to 4 bytes.

#include "Dib.h"

#include <cstring>

[[nodiscard]] inline DibError allocateIndices(const Dib& dib, Bytes& bits)
{
    std::size_t bytes = 0;
    if (const DibError error = dibImageBytes(dib.width(), dib.height(), 8, bytes); error != DibError::None)
        return error;
    return allocateBytes(bits, bytes);
}

// Row y (from the top) of dib's 8-bit rows in bits, its padding cleared.
[[nodiscard]] inline std::uint8_t* indexRow(const Dib& dib, Bytes& bits, int y)
{
    const std::size_t stride = dibStride(dib.width(), 8);
    std::uint8_t* out = bits.data() + stride * static_cast<std::size_t>(dib.height() - 1 - y);
    std::memset(out + dib.width(), 0, stride - static_cast<std::size_t>(dib.width()));
    return out;
}

// A run of one index; the short ones, most of a photograph's, as one 8-byte store where
// the row has room for it (the next runs write over the bytes past this one).
inline void fillRun(std::uint8_t* out, int x, int length, int width, std::uint8_t index)
{
    if (length <= 8 && x + 8 <= width) {
        const std::uint64_t bytes = 0x0101010101010101u * index;
        std::memcpy(out + x, &bytes, sizeof bytes);
    } else {
        std::memset(out + x, index, static_cast<std::size_t>(length));
    }
}
