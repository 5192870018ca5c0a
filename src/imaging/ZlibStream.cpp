#include "ZlibStream.h"

#include "DeflateBlocks.h"
#include "Parallel.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// Below this much per part a thread costs more than it saves.
constexpr std::size_t LeastPartBytes = std::size_t{1} << 20;
// The bytes an empty stored block adds after its three header bits and the padding.
constexpr std::uint8_t StoredEmptyLengths[] = {0x00, 0x00, 0xFF, 0xFF};

struct Part {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    Bytes deflated;
    std::uint32_t adler = 0;
    DibError error = DibError::None;
};

DibError deflateRaw(int level, Part& part)
{
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(libdeflate_alloc_compressor(level));
    if (!compressor)
        return DibError::OutOfMemory;
    // Room for the empty stored block that may follow.
    const std::size_t bound = libdeflate_deflate_compress_bound(compressor.get(), part.size) + 8;
    if (const DibError error = allocateBytes(part.deflated, bound); error != DibError::None)
        return error;
    const std::size_t written =
        libdeflate_deflate_compress(compressor.get(), part.data, part.size, part.deflated.data(), bound);
    if (written == 0)
        return DibError::EncoderFailed;
    part.deflated.resize(written);
    return DibError::None;
}

// Turns a whole raw deflate stream into one that ends on a byte boundary and lets
// the next part's blocks follow: its last block no longer final, an empty stored
// block after it.
DibError endWithoutFinal(Part& part)
{
    FinalBlock final;
    if (!findFinalBlock(part.deflated, part.size, final))
        return DibError::EncoderFailed;
    Bytes& bytes = part.deflated;
    bytes[final.headerBit / 8] &= static_cast<std::uint8_t>(~(1u << (final.headerBit % 8)));
    // The stored block's header, three zero bits (not final, type 0), then zeros up to
    // the byte boundary: every bit from the end on becomes zero.
    bytes.resize((final.endBit + 3 + 7) / 8, 0);
    bytes[final.endBit / 8] &= static_cast<std::uint8_t>((1u << (final.endBit % 8)) - 1);
    bytes.insert(bytes.end(), std::begin(StoredEmptyLengths), std::end(StoredEmptyLengths));
    return DibError::None;
}

// zlib's header for a deflate stream with a 32 KiB window, its level hint as
// libdeflate gives it.
void putHeader(int level, Bytes& out)
{
    const unsigned hint = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    const unsigned cmf = 0x78;
    unsigned flg = hint << 6;
    flg += 31 - (cmf * 256 + flg) % 31;
    out.push_back(static_cast<std::uint8_t>(cmf));
    out.push_back(static_cast<std::uint8_t>(flg));
}

// Finding where a part that is not the last ends costs about an eighth of its
// compression: those parts get eight shares of the work and the last one nine, so that
// they end together.
constexpr std::uint64_t SharesOfAPart = 8;
constexpr std::uint64_t SharesOfTheLast = 9;

// Where each of count parts starts, at multiples of unit, and the end of the last.
std::vector<std::size_t> partStarts(std::size_t size, std::size_t unit, std::size_t count,
                                    std::span<const std::uint32_t> unitWork)
{
    const std::size_t units = (size + unit - 1) / unit;
    const std::uint64_t shares = SharesOfAPart * (count - 1) + SharesOfTheLast;
    std::vector<std::size_t> starts{0};
    if (unitWork.size() != units) {
        for (std::size_t k = 1; k < count; ++k)
            starts.push_back(std::min<std::size_t>(size, units * SharesOfAPart * k / shares * unit));
    } else {
        // Every unit counts for one besides its estimate: work estimated at nothing
        // still splits by the bytes.
        std::uint64_t total = units;
        for (const std::uint32_t work : unitWork)
            total += work;
        std::uint64_t done = 0;
        std::size_t next = 0;
        for (std::size_t k = 1; k < count; ++k) {
            const std::uint64_t share = total * SharesOfAPart * k / shares;
            while (next < units && done < share)
                done += 1 + std::uint64_t{unitWork[next++]};
            starts.push_back(std::min(size, next * unit));
        }
    }
    starts.push_back(size);
    return starts;
}

}  // namespace

DibError zlibCompressInParts(const std::uint8_t* data, std::size_t size, int level, int parts, std::size_t unit,
                             Bytes& out, std::span<const std::uint32_t> unitWork)
{
    const std::size_t count = static_cast<std::size_t>(std::max(parts, 1));
    const std::vector<std::size_t> starts = partStarts(size, std::max<std::size_t>(unit, 1), count, unitWork);
    std::vector<Part> pieces(count);
    for (std::size_t k = 0; k < count; ++k) {
        pieces[k].data = data + starts[k];
        pieces[k].size = starts[k + 1] - starts[k];
    }
    const bool ran = forEachPart(static_cast<int>(count), [&](int k) {
        Part& part = pieces[static_cast<std::size_t>(k)];
        part.adler = libdeflate_adler32(1, part.data, part.size);
        part.error = deflateRaw(level, part);
        if (part.error == DibError::None && static_cast<std::size_t>(k) + 1 < count)
            part.error = endWithoutFinal(part);
    });
    if (!ran)
        return DibError::OutOfMemory;
    std::size_t total = 6;
    uLong adler = adler32(0, nullptr, 0);
    for (const Part& part : pieces) {
        if (part.error != DibError::None)
            return part.error;
        total += part.deflated.size();
        adler = adler32_combine(adler, part.adler, static_cast<z_off_t>(part.size));
    }
    out.clear();
    out.reserve(total);
    putHeader(level, out);
    for (Part& part : pieces) {
        out.insert(out.end(), part.deflated.begin(), part.deflated.end());
        part.deflated = Bytes();
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(adler >> shift));
    return DibError::None;
}

DibError zlibCompress(const std::uint8_t* data, std::size_t size, int level, Bytes& out, std::size_t unit,
                      std::span<const std::uint32_t> unitWork)
{
    const int parts = partsFor(size, LeastPartBytes);
    if (parts > 1)
        return zlibCompressInParts(data, size, level, parts, unit, out, unitWork);
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(libdeflate_alloc_compressor(level));
    if (!compressor)
        return DibError::OutOfMemory;
    if (const DibError error = allocateBytes(out, libdeflate_zlib_compress_bound(compressor.get(), size));
        error != DibError::None)
        return error;
    const std::size_t written = libdeflate_zlib_compress(compressor.get(), data, size, out.data(), out.size());
    if (written == 0)
        return DibError::EncoderFailed;
    out.resize(written);
    return DibError::None;
}
