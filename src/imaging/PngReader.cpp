#include "ImageReaders.h"

#include <png.h>

#include <algorithm>
#include <array>

namespace {

// Frees libpng's read state however the read ends.
struct PngImageGuard {
    png_image image{};
    PngImageGuard() { image.version = PNG_IMAGE_VERSION; }
    ~PngImageGuard() { png_image_free(&image); }
    PngImageGuard(const PngImageGuard&) = delete;
    PngImageGuard& operator=(const PngImageGuard&) = delete;
};

constexpr std::array<std::uint8_t, 8> Signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// A chunk's length, type and checksum around its data.
constexpr std::uint64_t ChunkFrame = 12;

std::uint32_t bigEndian(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8
           | bytes[at + 3];
}

// Every chunk up to IEND lies inside the bytes: libpng allocates a chunk's declared
// length before it reads the data, so a length the bytes cannot hold is refused here.
bool chunksFitTheBytes(std::span<const std::uint8_t> png)
{
    if (png.size() < Signature.size() || !std::equal(Signature.begin(), Signature.end(), png.begin()))
        return false;
    std::uint64_t at = Signature.size();
    while (at + ChunkFrame <= png.size()) {
        const std::uint64_t length = bigEndian(png, at);
        if (at + ChunkFrame + length > png.size())
            return false;
        if (std::equal(png.begin() + at + 4, png.begin() + at + 8, "IEND"))
            return true;
        at += ChunkFrame + length;
    }
    return false;
}

// Deflate packs at most about 1032 bytes into one; this is a little above that.
constexpr std::uint64_t MostDeflateRatio = 1100;

// Bytes too few to hold the rows the header declares even at deflate's best (a 1-bit
// image: one byte per eight pixels and a filter byte per row) are refused before the
// image is allocated.
bool canHoldItsRows(std::size_t size, png_uint_32 width, png_uint_32 height)
{
    const std::uint64_t leastRaw = std::uint64_t{height} * (1 + (std::uint64_t{width} + 7) / 8);
    return std::uint64_t{size} * MostDeflateRatio >= leastRaw;
}

}  // namespace

// Any PNG becomes 24-bit B, G, R through libpng's simplified reader: alpha is
// composited onto black, 16-bit samples are reduced, and a gamma other than sRGB's is
// converted to sRGB.
DibError readPng(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out)
{
    if (!chunksFitTheBytes(file))
        return DibError::DecodeFailed;
    PngImageGuard guard;
    png_image& image = guard.image;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())
        || !canHoldItsRows(file.size(), image.width, image.height))
        return DibError::DecodeFailed;
    const auto width = static_cast<int>(std::min<png_uint_32>(image.width, MaxSide + 1));
    const auto height = static_cast<int>(std::min<png_uint_32>(image.height, MaxSide + 1));
    std::size_t bytes = 0;
    if (const DibError error = decodedImageBytes(width, height, bytes); error != DibError::None)
        return error;
    Bytes bits;
    if (const DibError error = allocateBytes(bits, bytes); error != DibError::None)
        return error;
    std::fill(bits.begin(), bits.end(), 0);
    image.format = PNG_FORMAT_BGR;
    const png_color black{0, 0, 0};
    // A negative stride asks libpng for bottom-up rows, the DIB order.
    const auto stride = -static_cast<png_int_32>(dibStride(width, 24));
    if (!png_image_finish_read(&image, &black, bits.data(), stride, nullptr))
        return DibError::DecodeFailed;
    try {
        out = std::make_unique<Dib>(width, height, 24, std::move(bits));
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    return DibError::None;
}
