#include "PlainPng.h"

#include "PngChunks.h"
#include "PngFilter.h"

#include <libdeflate.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define SCRIMBLE_BLENDS 1
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// One pixel's B, G, R and one byte more, which is carried along and never kept, in
// 16-bit lanes so that the predictors' sums and differences cannot overflow.
using Lanes = std::int16_t __attribute__((vector_size(16)));
constexpr Lanes LowByte{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// Reads four bytes: the pixel and the first byte after it.
Lanes loadPixel(const std::uint8_t* p)
{
#if defined(__SSE2__)
    std::int32_t four = 0;
    std::memcpy(&four, p, sizeof four);
    return std::bit_cast<Lanes>(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), _mm_setzero_si128()));
#else
    return Lanes{p[0], p[1], p[2], p[3]};
#endif
}

Lanes redBlueSwapped(Lanes v)
{
#if defined(__SSE2__)
    return std::bit_cast<Lanes>(_mm_shufflelo_epi16(std::bit_cast<__m128i>(v), _MM_SHUFFLE(3, 0, 1, 2)));
#else
    return Lanes{v[2], v[1], v[0], v[3]};
#endif
}

// Writes four bytes: the fourth lands where the next pixel goes, or on a byte of the
// scanlines already read.
void storePixel(std::uint8_t* p, Lanes v)
{
#if defined(__SSE2__)
    const __m128i bytes = std::bit_cast<__m128i>(v);
    const std::int32_t four = _mm_cvtsi128_si32(_mm_packus_epi16(bytes, bytes));
    std::memcpy(p, &four, sizeof four);
#else
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v[i]);
#endif
}

// Undoes one scanline's filter: in holds its R, G, B bytes, above the DIB row above
// (B, G, R) and out receives this row's.
template<PngFilterType Filter>
void unfilterRow(const std::uint8_t* in, const std::uint8_t* above, int width, std::uint8_t* out)
{
    Lanes left{};
    Lanes upperLeft{};
    for (int x = 0; x < width; ++x) {
        const Lanes filtered = redBlueSwapped(loadPixel(in + 3 * x));
        const Lanes up = loadPixel(above + 3 * x);
        Lanes predicted{};
        if constexpr (Filter == FilterSub)
            predicted = left;
        else if constexpr (Filter == FilterUp)
            predicted = up;
        else if constexpr (Filter == FilterAverage)
            predicted = (left + up) >> 1;
        else if constexpr (Filter == FilterPaeth)
            predicted = paethPredictor(left, up, upperLeft);
        left = (filtered + predicted) & LowByte;
        storePixel(out + 3 * x, left);
        upperLeft = up;
    }
}

#ifdef SCRIMBLE_BLENDS

// Paeth's filter undone with SSE4.1, where most of a screenshot's rows spend their
// decoding time: each pixel waits for the one on its left, so what counts is the
// length of that chain. Absolute values, blends and a byte-wise add (the lanes'
// upper bytes are zero, so it wraps as the format asks) shorten it from ten steps
// to seven.
__attribute__((target("sse4.1"))) inline Lanes paethPixel(Lanes filteredLanes, Lanes leftLanes, Lanes upLanes,
                                                          Lanes upperLeftLanes)
{
    const auto filtered = std::bit_cast<__m128i>(filteredLanes);
    const auto left = std::bit_cast<__m128i>(leftLanes);
    const auto up = std::bit_cast<__m128i>(upLanes);
    const auto upperLeft = std::bit_cast<__m128i>(upperLeftLanes);
    const __m128i upMinusCorner = _mm_sub_epi16(up, upperLeft);
    const __m128i leftMinusCorner = _mm_sub_epi16(left, upperLeft);
    const __m128i pa = _mm_abs_epi16(upMinusCorner);
    const __m128i pb = _mm_abs_epi16(leftMinusCorner);
    const __m128i pc = _mm_abs_epi16(_mm_add_epi16(leftMinusCorner, upMinusCorner));
    const __m128i notLeft = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    const __m128i nearer = _mm_blendv_epi8(up, upperLeft, _mm_cmpgt_epi16(pb, pc));
    return std::bit_cast<Lanes>(_mm_add_epi8(filtered, _mm_blendv_epi8(left, nearer, notLeft)));
}

__attribute__((target("sse4.1"))) void unfilterPaethBlended(const std::uint8_t* in, const std::uint8_t* above,
                                                            int width, std::uint8_t* out)
{
    Lanes left{};
    Lanes upperLeft{};
    for (int x = 0; x < width; ++x) {
        const Lanes up = loadPixel(above + 3 * x);
        left = paethPixel(redBlueSwapped(loadPixel(in + 3 * x)), left, up, upperLeft);
        storePixel(out + 3 * x, left);
        upperLeft = up;
    }
}

// Two Paeth rows at once, the lower one a pixel behind the upper: their chains of
// dependent steps interleave, and the processor works on both. The lower row goes to
// spare, as its DIB row may lie over the end of the upper scanline, still unread.
__attribute__((target("sse4.1"))) void unfilterPaethPair(const std::uint8_t* upperIn, const std::uint8_t* lowerIn,
                                                         const std::uint8_t* above, int width, std::uint8_t* upperOut,
                                                         std::uint8_t* spare)
{
    Lanes upperLeft{};    // of the upper row's pixel: above it, to its left
    Lanes upper{};        // the upper row's last pixel done
    Lanes upperBefore{};  // and the one before it
    Lanes lower{};        // the lower row's last pixel done
    for (int x = 0; x < width; ++x) {
        if (x > 0) {
            lower = paethPixel(redBlueSwapped(loadPixel(lowerIn + 3 * (x - 1))), lower, upper, upperBefore);
            storePixel(spare + 3 * (x - 1), lower);
        }
        const Lanes up = loadPixel(above + 3 * x);
        upperBefore = upper;
        upper = paethPixel(redBlueSwapped(loadPixel(upperIn + 3 * x)), upper, up, upperLeft);
        storePixel(upperOut + 3 * x, upper);
        upperLeft = up;
    }
    lower = paethPixel(redBlueSwapped(loadPixel(lowerIn + 3 * (width - 1))), lower, upper, upperBefore);
    storePixel(spare + 3 * (width - 1), lower);
}

#endif

using RowUnfilter = void (*)(const std::uint8_t*, const std::uint8_t*, int, std::uint8_t*);
using PairUnfilter = void (*)(const std::uint8_t*, const std::uint8_t*, const std::uint8_t*, int, std::uint8_t*,
                              std::uint8_t*);

struct Unfilters {
    std::array<RowUnfilter, 5> rows;  // by filter type, as a scanline's first byte gives it
    PairUnfilter paethPair;           // two Paeth rows in one pass, where the processor can
};

// The processor's best, chosen once.
const Unfilters& unfilters()
{
    static const Unfilters chosen = [] {
        Unfilters plain{{unfilterRow<FilterNone>, unfilterRow<FilterSub>, unfilterRow<FilterUp>,
                         unfilterRow<FilterAverage>, unfilterRow<FilterPaeth>},
                        nullptr};
#ifdef SCRIMBLE_BLENDS
        if (__builtin_cpu_supports("sse4.1")) {
            plain.rows[FilterPaeth] = unfilterPaethBlended;
            plain.paethPair = unfilterPaethPair;
        }
#endif
        return plain;
    }();
    return chosen;
}

std::size_t scanlineBytes(int width) { return 3 * static_cast<std::size_t>(width) + 1; }

// The scanlines are inflated this far into the buffer, so that each DIB row, written
// from the top, starts no later than its scanline and ends before the next one: rows
// are unfiltered in place, and what a row writes over has been read.
std::size_t inflatedAt(int width, int height)
{
    const std::size_t stride = dibStride(width, 24);
    const std::size_t scanline = scanlineBytes(width);
    return stride > scanline ? static_cast<std::size_t>(height - 1) * (stride - scanline) : 0;
}

// Room for the last pixel's four-byte read and write.
constexpr std::size_t Overhang = 8;

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The deflate stream of the consecutive IDAT chunks from at, each checked against its
// checksum; joined only when there is more than one, into a buffer sized once: a
// screenshot's stream comes in hundreds of chunks, and growing the buffer chunk by
// chunk would copy it and fault in new pages several times over.
bool imageData(std::span<const std::uint8_t> png, std::uint64_t at, std::vector<std::uint8_t>& joined,
               std::span<const std::uint8_t>& stream)
{
    std::vector<std::span<const std::uint8_t>> chunks;
    std::size_t total = 0;
    for (; at + ChunkFrame <= png.size() && isChunkType(png, at, "IDAT"); at += ChunkFrame + chunks.back().size()) {
        const std::uint32_t length = bigEndian(png, at);
        const auto typeAndData = png.subspan(at + 4, std::size_t{length} + 4);
        if (libdeflate_crc32(0, typeAndData.data(), typeAndData.size()) != bigEndian(png, at + 8 + length))
            return false;
        chunks.push_back(typeAndData.subspan(4));
        total += length;
    }
    if (chunks.size() == 1)
        stream = chunks.front();
    if (chunks.size() > 1) {
        joined.reserve(total);
        for (const auto& data : chunks)
            joined.insert(joined.end(), data.begin(), data.end());
        stream = joined;
    }
    return !chunks.empty();
}

// Undoes the scanlines' filters into the DIB rows from the top, in place; false on
// a filter type the format does not have.
bool unfilterRows(const std::uint8_t* scanlines, int width, std::size_t rows, std::uint8_t* buffer)
{
    const std::size_t scanline = scanlineBytes(width);
    const std::size_t stride = dibStride(width, 24);
    const std::vector<std::uint8_t> blackRow(scanline);
    std::vector<std::uint8_t> spare(scanline + Overhang);
    const Unfilters& chosen = unfilters();
    const std::size_t pixelBytes = 3 * static_cast<std::size_t>(width);
    for (std::size_t y = 0; y < rows;) {
        const std::uint8_t* in = scanlines + y * scanline;
        std::uint8_t* out = buffer + y * stride;
        const std::uint8_t* above = y == 0 ? blackRow.data() : out - stride;
        if (in[0] >= chosen.rows.size())
            return false;
        std::size_t done = 1;
        if (chosen.paethPair && in[0] == FilterPaeth && y + 1 < rows && in[scanline] == FilterPaeth) {
            chosen.paethPair(in + 1, in + scanline + 1, above, width, out, spare.data());
            std::copy_n(spare.data(), pixelBytes, out + stride);
            done = 2;
        } else {
            chosen.rows[in[0]](in + 1, above, width, out);
        }
        for (std::size_t row = 0; row < done; ++row)
            std::fill(out + row * stride + pixelBytes, out + (row + 1) * stride, 0);
        y += done;
    }
    return true;
}

}  // namespace

std::size_t plainPngCapacity(int width, int height)
{
    return inflatedAt(width, height) + scanlineBytes(width) * static_cast<std::size_t>(height) + Overhang;
}

bool decodePlainPng(std::span<const std::uint8_t> png, std::uint64_t firstImageData, int width, int height,
                    std::uint8_t* buffer)
{
    std::vector<std::uint8_t> joined;
    std::span<const std::uint8_t> stream;
    const std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> inflater(libdeflate_alloc_decompressor());
    const std::size_t scanline = scanlineBytes(width);
    const std::size_t rows = static_cast<std::size_t>(height);
    std::uint8_t* const scanlines = buffer + inflatedAt(width, height);
    if (!inflater || !imageData(png, firstImageData, joined, stream)
        || libdeflate_zlib_decompress(inflater.get(), stream.data(), stream.size(), scanlines, scanline * rows, nullptr)
               != LIBDEFLATE_SUCCESS)
        return false;
    if (!unfilterRows(scanlines, width, rows, buffer))
        return false;
    const std::size_t stride = dibStride(width, 24);
    // The rows came top-down; a DIB stores them bottom-up.
    for (std::size_t y = 0; y < rows / 2; ++y)
        std::swap_ranges(buffer + y * stride, buffer + (y + 1) * stride, buffer + (rows - 1 - y) * stride);
    return true;
}
