#pragma once
// The framing of a PNG file's chunks: length, type, data, checksum.

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

inline constexpr std::array<std::uint8_t, 8> PngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// A chunk's length, type and checksum around its data.
inline constexpr std::uint64_t ChunkFrame = 12;

inline std::uint32_t bigEndian(std::span<const std::uint8_t> bytes, std::uint64_t at)
{
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8
           | bytes[at + 3];
}

// Whether the chunk that starts at at (with its length) has the given type.
inline bool isChunkType(std::span<const std::uint8_t> png, std::uint64_t at, const char* type)
{
    return std::equal(png.begin() + static_cast<std::ptrdiff_t>(at) + 4,
                      png.begin() + static_cast<std::ptrdiff_t>(at) + 8, type);
}
