#pragma once
// A plain PNG (8-bit RGB, not interlaced, nothing to convert: what screenshots are)
// decoded without libpng, for the clipboard's copies: libdeflate inflates all the
// scanlines at once, two to four times faster than zlib row by row, and the filters are
// undone a pixel at a time in the same buffer, which ends as the DIB's rows.

#include "Dib.h"

#include <span>

// The buffer decodePlainPng needs: a little more than the DIB's rows, at most.
[[nodiscard]] std::size_t plainPngCapacity(int width, int height);

// Decodes the image data that starts with the IDAT chunk at firstImageData (its
// chunks checked to lie inside png) into buffer, which holds plainPngCapacity bytes:
// on success its first dibStride(width, 24) * height bytes are the 24-bit DIB's rows.
// False for anything this path does not take as it is (a checksum, a filter or a
// data length that is wrong, the data split by other chunks): libpng, with its own
// tolerances and checks, decides those.
[[nodiscard]] bool decodePlainPng(std::span<const std::uint8_t> png, std::uint64_t firstImageData, int width,
                                  int height, std::uint8_t* buffer);
