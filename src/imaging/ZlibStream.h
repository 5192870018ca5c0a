#pragma once
// One zlib stream (header, deflate data, Adler-32) made by libdeflate, which deflates a
// whole buffer at once about two and a half times faster than zlib at the same level
// and to a similar size.

#include "Dib.h"

// Compresses data at level 0 (stored) .. 9 (smallest) into out.
[[nodiscard]] DibError zlibCompress(const std::uint8_t* data, std::size_t size, int level, Bytes& out);
