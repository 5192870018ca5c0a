#pragma once
// One zlib stream (header, deflate data, Adler-32) made by libdeflate, which deflates a
// whole buffer at once about two and a half times faster than zlib at the same level
// and to a similar size. A large buffer is deflated in parts, one per core, joined
// the way parallel deflate tools join theirs: every part but the last ends on a byte
// boundary after an empty stored block and is not marked final, and the Adler-32s of
// the parts are combined.

#include "Dib.h"

#include <cstdint>
#include <span>

// Compresses data at level 0 (stored) .. 9 (smallest) into out. Parts start at
// multiples of unit bytes (a PNG's filtered rows), where the data changes anyway.
// unitWork, one estimate per unit of the work deflating it takes, lets parts of unequal
// bytes end together; without it (or of another length) the parts share the bytes.
[[nodiscard]] DibError zlibCompress(const std::uint8_t* data, std::size_t size, int level, Bytes& out,
                                    std::size_t unit = 1, std::span<const std::uint32_t> unitWork = {});
// The same in exactly parts parts (at least 1; some may be empty), whatever the
// machine: for tests.
[[nodiscard]] DibError zlibCompressInParts(const std::uint8_t* data, std::size_t size, int level, int parts,
                                           std::size_t unit, Bytes& out, std::span<const std::uint32_t> unitWork = {});
