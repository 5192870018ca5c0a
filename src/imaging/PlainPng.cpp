#include "PlainPng.h"

#include "PngChunks.h"
#include "PngFilter.h"

#include <libdeflate.h>

#if defined(__SSE2__)
#include <emmintrin.h>
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

using RowUnfilter = void (*)(const std::uint8_t*, const std::uint8_t*, int, std::uint8_t*);
// By filter type, as a scanline's first byte gives it.
constexpr std::array<RowUnfilter, 5> RowUnfilters{unfilterRow<FilterNone>, unfilterRow<FilterSub>,
                                                  unfilterRow<FilterUp>, unfilterRow<FilterAverage>,
                                                  unfilterRow<FilterPaeth>};

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
// checksum; joined only when there is more than one.
bool imageData(std::span<const std::uint8_t> png, std::uint64_t at, std::vector<std::uint8_t>& joined,
               std::span<const std::uint8_t>& stream)
{
    std::uint64_t chunks = 0;
    for (; at + ChunkFrame <= png.size() && isChunkType(png, at, "IDAT"); ++chunks) {
        const std::uint32_t length = bigEndian(png, at);
        const auto typeAndData = png.subspan(at + 4, std::size_t{length} + 4);
        if (libdeflate_crc32(0, typeAndData.data(), typeAndData.size()) != bigEndian(png, at + 8 + length))
            return false;
        const auto data = typeAndData.subspan(4);
        if (chunks == 1)
            joined.assign(stream.begin(), stream.end());
        if (chunks == 0)
            stream = data;
        else
            joined.insert(joined.end(), data.begin(), data.end());
        at += ChunkFrame + length;
    }
    if (chunks > 1)
        stream = joined;
    return chunks > 0;
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
    const std::size_t stride = dibStride(width, 24);
    const std::vector<std::uint8_t> blackRow(scanline);
    for (std::size_t y = 0; y < rows; ++y) {
        const std::uint8_t* in = scanlines + y * scanline;
        std::uint8_t* out = buffer + y * stride;
        if (in[0] >= RowUnfilters.size())
            return false;
        RowUnfilters[in[0]](in + 1, y == 0 ? blackRow.data() : out - stride, width, out);
        std::fill(out + 3 * static_cast<std::size_t>(width), out + stride, 0);
    }
    // The rows came top-down; a DIB stores them bottom-up.
    for (std::size_t y = 0; y < rows / 2; ++y)
        std::swap_ranges(buffer + y * stride, buffer + (y + 1) * stride, buffer + (rows - 1 - y) * stride);
    return true;
}
