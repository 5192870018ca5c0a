#pragma once
// BI_RLE8 run-length coding of 8-bit images.

#include "Dib.h"

// Encodes the uncompressed 8-bit image's rows into a BI_RLE8 stream.
[[nodiscard]] DibError encodeRle8(const Dib& dib, Bytes& stream);
// Decodes dib's BI_RLE8 stream into bottom-up rows padded to 4 bytes. Lenient like
// Windows: pixels past a row's end are dropped, a missing end-of-bitmap ends the
// image, skipped pixels stay index 0.
[[nodiscard]] DibError decodeRle8(const Dib& dib, Bytes& indices);
// The largest colour index a BI_RLE8 stream draws with, -1 when it draws none; a
// stream cut short counts up to where it ends.
[[nodiscard]] int largestRle8Index(const Bytes& stream);
