#pragma once
// Readers of image files, from their bytes in memory: a file's or another program's.
// Whatever the bytes claim, a reader allocates no more than the image the library
// decodes at most (MaxDecodedPixels), and only after the bytes proved able to hold it.

#include "Dib.h"

#include <cstdint>
#include <memory>
#include <span>

// The bytes of a BMP file that say how many more of it bmpFileBytes needs.
inline constexpr std::size_t BmpHeaderBytes = 54;

// An encoded file (PNG, JPEG, or one inside a BMP) of the largest image the readers
// decode is far smaller, even a PNG stored without compression at 24 bits; a larger
// one is no screenshot and is not read.
inline constexpr std::uint64_t MaxEncodedBytes = std::uint64_t{512} << 20;

// PNG, any colour type, depth and interlace, and BMP, any variant: 24 bits with alpha
// laid over white, except BMP's 8-bit indices (from 1 to 8 bits and run-length
// streams), 16-bit 5-5-5 and 24 bits, kept as they are.
[[nodiscard]] DibError readPng(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out);
[[nodiscard]] DibError readBmp(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out);
// JPEG, grey or colour (not CMYK), at 24 bits.
[[nodiscard]] DibError readJpeg(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out);
// The reader of a file's bytes by their signature: BMP, PNG or JPEG.
[[nodiscard]] DibError readImageBytes(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out);
// How many of a BMP file's first bytes hold its image, from its first BmpHeaderBytes:
// no more than its header declares for an image within the limit.
[[nodiscard]] DibError bmpFileBytes(std::span<const std::uint8_t> head, std::uint64_t fileSize, std::size_t& needed);
