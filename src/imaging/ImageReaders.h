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

[[nodiscard]] DibError readPng(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out);
[[nodiscard]] DibError readBmp(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out);
// How many of a BMP file's first bytes hold its image, from its first BmpHeaderBytes:
// no more than its header declares for an image within the limit.
[[nodiscard]] DibError bmpFileBytes(std::span<const std::uint8_t> head, std::uint64_t fileSize, std::size_t& needed);
