#pragma once
// The in-memory image behind a handle: the fields of a BITMAPINFOHEADER, the palette
// and the pixel bytes exactly as a BMP file holds them (bottom-up rows, each padded to
// a multiple of 4 bytes; for BI_RLE8 the encoded stream).

#include "DefaultInitAllocator.h"
#include "dibimage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

using Bytes = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;
using RgbQuad = std::array<std::uint8_t, 4>;  // blue, green, red, 0

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;

// The largest image the library accepts: each side at most MaxSide pixels and the
// pixel bytes of one image at most MaxBytes (1 GiB).
inline constexpr int MaxSide = 32768;
inline constexpr std::size_t MaxBytes = std::size_t{1} << 30;

// The largest image a reader decodes from a file (or from another program's bytes):
// at most MaxDecodedPixels pixels, four 7680 x 4320 screens side by side, held at 24
// bits (at most 384 MiB). Readers check it from the header, before they allocate.
inline constexpr std::uint64_t MaxDecodedPixels = std::uint64_t{1} << 27;

// Bytes of one row padded to 4, or 0 when width/bitCount are outside the limits.
[[nodiscard]] std::size_t dibStride(int width, int bitCount);
// Checks width x height at bitCount against the limits; on success sets bytes.
[[nodiscard]] DibError dibImageBytes(int width, int height, int bitCount, std::size_t& bytes);
// dibImageBytes at 24 bits, and TooLarge beyond MaxDecodedPixels as well.
[[nodiscard]] DibError decodedImageBytes(int width, int height, std::size_t& bytes);
// Allocates a buffer without throwing: OutOfMemory instead of std::bad_alloc.
[[nodiscard]] DibError allocateBytes(Bytes& buffer, std::size_t size);

class Dib
{
public:
    Dib(int width, int height, int bitCount, Bytes bits, std::vector<RgbQuad> palette = {});

    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }
    [[nodiscard]] int bitCount() const { return m_bitCount; }
    [[nodiscard]] std::uint32_t compression() const { return m_compression; }
    [[nodiscard]] std::size_t stride() const { return dibStride(m_width, m_bitCount); }
    [[nodiscard]] const Bytes& bits() const { return m_bits; }
    [[nodiscard]] Bytes& bits() { return m_bits; }
    [[nodiscard]] const std::vector<RgbQuad>& palette() const { return m_palette; }
    [[nodiscard]] std::vector<RgbQuad>& palette() { return m_palette; }

    // Row y counted from the top of the picture (storage is bottom-up); not for RLE8.
    [[nodiscard]] std::uint8_t* rowFromTop(int y);
    [[nodiscard]] const std::uint8_t* rowFromTop(int y) const;

    // In-place conversions swap the whole body at once.
    void replace(int bitCount, Bytes bits, std::vector<RgbQuad> palette, std::uint32_t compression = BI_RGB);

    std::mutex& mutex() { return m_mutex; }

private:
    int m_width;
    int m_height;
    int m_bitCount;
    std::uint32_t m_compression = BI_RGB;
    Bytes m_bits;
    std::vector<RgbQuad> m_palette;
    std::mutex m_mutex;
};
