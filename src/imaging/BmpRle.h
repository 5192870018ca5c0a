#pragma once
// Decoding of BI_RLE8 and BI_RLE4 streams, as Windows draws them:
//   n c       a run of n pixels: index c (RLE8), or the two indices of c's nibbles in turn (RLE4)
//   00 00     end of line        00 01  end of bitmap
//   00 02 dx dy  delta: move right dx and up dy rows, the pixels passed over stay index 0
//   00 n ...  n indices as they are (RLE8 one a byte, RLE4 two), padded to 16 bits
// Pixels past a row's end are dropped; a stream whose last instruction is whole may end
// without its end of bitmap.

#include "Dib.h"

#include <span>

// Draws the stream of 4 or 8-bit indices into bottom-up rows of 8-bit indices, stride
// bytes apart, that the caller zeroed. false when the stream stops inside an
// instruction (a run, escape, delta or absolute run that its bytes cut short).
[[nodiscard]] bool drawRle(std::span<const std::uint8_t> stream, int indexBits, int width, int height,
                           std::uint8_t* rows, std::size_t stride);
