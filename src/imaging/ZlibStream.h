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
#include <vector>

// The bands of the last stream deflated with it, each band's bytes beside what they
// deflated to. Screenshots copied one after another differ in a few rows: a band whose
// bytes did not change is taken from here instead of deflated again, and the stream is
// the same byte for byte. For one caller at a time.
class DeflateMemory
{
public:
    struct Band {
        Bytes bytes;
        Bytes deflated;  // as it goes into the stream: ending on a byte boundary unless last
        std::uint32_t adler = 0;
        int level = 0;
        bool last = false;
    };
    std::vector<Band> bands;
};

// Compresses data at level 0 (stored) .. 9 (smallest) into out. Parts start at
// multiples of unit bytes (a PNG's filtered rows), where the data changes anyway.
// unitWork, one estimate per unit of the work deflating it takes, lets parts of unequal
// bytes end together; without it (or of another length) the parts share the bytes.
// With memory, the data are deflated in bands of about a megabyte instead, at the same
// places whatever they hold, so that the next stream may take the bands that did not
// change.
[[nodiscard]] DibError zlibCompress(const std::uint8_t* data, std::size_t size, int level, Bytes& out,
                                    std::size_t unit = 1, std::span<const std::uint32_t> unitWork = {},
                                    DeflateMemory* memory = nullptr);
// The same in exactly parts parts (at least 1; some may be empty), whatever the
// machine: for tests.
[[nodiscard]] DibError zlibCompressInParts(const std::uint8_t* data, std::size_t size, int level, int parts,
                                           std::size_t unit, Bytes& out, std::span<const std::uint32_t> unitWork = {});
// The same with memory in bands of about bandBytes: for tests, which need several bands
// on little data.
[[nodiscard]] DibError zlibCompressInBands(const std::uint8_t* data, std::size_t size, int level, std::size_t unit,
                                           std::size_t bandBytes, Bytes& out, DeflateMemory& memory);
