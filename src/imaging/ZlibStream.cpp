#include "ZlibStream.h"

#include "DeflateBlocks.h"
#include "Parallel.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <vector>

namespace {

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// Below this much per part a thread costs more than it saves.
constexpr std::size_t LeastPartBytes = std::size_t{1} << 20;
// A band of a megabyte deflates to the size of the whole stream within a few
// hundredths of a percent (4K desktop: bands of 64 to 256 rows, 2,718,979 to 2,720,793
// bytes against 2,720,242 in one), and is a small share of the work of a few cores.
constexpr std::size_t BandBytes = std::size_t{1} << 20;
// The bytes an empty stored block adds after its three header bits and the padding.
constexpr std::uint8_t StoredEmptyLengths[] = {0x00, 0x00, 0xFF, 0xFF};

struct Part {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    bool last = false;
    bool remembered = false;  // its deflated bytes are the memory's
    Bytes deflated;
    std::uint32_t adler = 0;
    DibError error = DibError::None;
};

DibError deflateRaw(libdeflate_compressor* compressor, Part& part)
{
    // Room for the empty stored block that may follow.
    const std::size_t bound = libdeflate_deflate_compress_bound(compressor, part.size) + 8;
    if (const DibError error = allocateBytes(part.deflated, bound); error != DibError::None)
        return error;
    const std::size_t written =
        libdeflate_deflate_compress(compressor, part.data, part.size, part.deflated.data(), bound);
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

void deflatePart(libdeflate_compressor* compressor, Part& part)
{
    part.adler = libdeflate_adler32(1, part.data, part.size);
    part.error = deflateRaw(compressor, part);
    if (part.error == DibError::None && !part.last)
        part.error = endWithoutFinal(part);
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

// Bands of whole units of about bandBytes each, and the end of the last.
std::vector<std::size_t> bandStarts(std::size_t size, std::size_t unit, std::size_t bandBytes)
{
    const std::size_t step = std::max<std::size_t>(bandBytes / unit, 1) * unit;
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at == 0 || at < size; at += step)
        starts.push_back(at);
    starts.push_back(size);
    return starts;
}

std::vector<Part> partsAt(const std::uint8_t* data, const std::vector<std::size_t>& starts)
{
    std::vector<Part> parts(starts.size() - 1);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        parts[k].data = data + starts[k];
        parts[k].size = starts[k + 1] - starts[k];
    }
    parts.back().last = true;
    return parts;
}

// The parts not remembered, each thread taking the next one left, with one compressor
// for all it takes: a new one is fresh memory, faulted in page by page.
bool deflateNew(std::vector<Part>& parts, int level, int threads)
{
    std::vector<Part*> todo;
    for (Part& part : parts) {
        if (!part.remembered)
            todo.push_back(&part);
    }
    std::atomic<std::size_t> next{0};
    return forEachPart(std::min(threads, static_cast<int>(todo.size())), [&](int) {
        const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(libdeflate_alloc_compressor(level));
        for (std::size_t k = next++; k < todo.size(); k = next++) {
            if (compressor)
                deflatePart(compressor.get(), *todo[k]);
            else
                todo[k]->error = DibError::OutOfMemory;
        }
    });
}

// The stream of the parts, each remembered one's deflated bytes and checksum taken
// from memory. Parts not to be remembered are freed as they go in.
DibError joinParts(std::vector<Part>& parts, int level, const DeflateMemory* memory, Bytes& out)
{
    std::size_t total = 6;
    uLong adler = adler32(0, nullptr, 0);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const Part& part = parts[k];
        if (part.error != DibError::None)
            return part.error;
        const bool kept = part.remembered;
        total += kept ? memory->bands[k].deflated.size() : part.deflated.size();
        adler = adler32_combine(adler, kept ? memory->bands[k].adler : part.adler, static_cast<z_off_t>(part.size));
    }
    out.clear();
    out.reserve(total);
    putHeader(level, out);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const Bytes& deflated = parts[k].remembered ? memory->bands[k].deflated : parts[k].deflated;
        out.insert(out.end(), deflated.begin(), deflated.end());
        if (memory == nullptr)
            parts[k].deflated = Bytes();
    }
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(adler >> shift));
    return DibError::None;
}

bool sameAsRemembered(const DeflateMemory::Band& kept, const Part& band, int level)
{
    return kept.level == level && kept.last == band.last && kept.bytes.size() == band.size
           && std::equal(kept.bytes.begin(), kept.bytes.end(), band.data);
}

// What the next stream may take from this one. Memory that cannot be had forgets
// everything: the next stream is the same either way.
void remember(std::vector<Part>& bands, int level, DeflateMemory& memory)
{
    try {
        memory.bands.resize(bands.size());
        for (std::size_t k = 0; k < bands.size(); ++k) {
            Part& band = bands[k];
            if (band.remembered)
                continue;
            DeflateMemory::Band& kept = memory.bands[k];
            kept.bytes.assign(band.data, band.data + band.size);
            kept.deflated = std::move(band.deflated);
            kept.adler = band.adler;
            kept.level = level;
            kept.last = band.last;
        }
    } catch (const std::bad_alloc&) {
        memory.bands.clear();
    }
}

}  // namespace

DibError zlibCompressInParts(const std::uint8_t* data, std::size_t size, int level, int parts, std::size_t unit,
                             Bytes& out, std::span<const std::uint32_t> unitWork)
{
    const auto count = static_cast<std::size_t>(std::max(parts, 1));
    std::vector<Part> pieces = partsAt(data, partStarts(size, std::max<std::size_t>(unit, 1), count, unitWork));
    if (!deflateNew(pieces, level, static_cast<int>(count)))
        return DibError::OutOfMemory;
    return joinParts(pieces, level, nullptr, out);
}

DibError zlibCompressInBands(const std::uint8_t* data, std::size_t size, int level, std::size_t unit,
                             std::size_t bandBytes, Bytes& out, DeflateMemory& memory)
{
    std::vector<Part> bands = partsAt(data, bandStarts(size, std::max<std::size_t>(unit, 1), bandBytes));
    std::size_t newBytes = 0;
    for (std::size_t k = 0; k < bands.size(); ++k) {
        bands[k].remembered = k < memory.bands.size() && sameAsRemembered(memory.bands[k], bands[k], level);
        newBytes += bands[k].remembered ? 0 : bands[k].size;
    }
    if (!deflateNew(bands, level, partsFor(newBytes, LeastPartBytes)))
        return DibError::OutOfMemory;
    if (const DibError error = joinParts(bands, level, &memory, out); error != DibError::None)
        return error;
    remember(bands, level, memory);
    return DibError::None;
}

DibError zlibCompress(const std::uint8_t* data, std::size_t size, int level, Bytes& out, std::size_t unit,
                      std::span<const std::uint32_t> unitWork, DeflateMemory* memory)
{
    if (memory != nullptr)
        return zlibCompressInBands(data, size, level, unit, BandBytes, out, *memory);
    return zlibCompressInParts(data, size, level, partsFor(size, LeastPartBytes), unit, out, unitWork);
}
