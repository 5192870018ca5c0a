#pragma once
// BI_RLE8 run-length coding of 8-bit images.

#include "Dib.h"

// Encodes the uncompressed 8-bit image's rows into a BI_RLE8 stream.
[[nodiscard]] DibError encodeRle8(const Dib& dib, Bytes& stream);
// Decodes dib's BI_RLE8 stream into bottom-up rows padded to 4 bytes (see drawRle).
[[nodiscard]] DibError decodeRle8(const Dib& dib, Bytes& indices);
