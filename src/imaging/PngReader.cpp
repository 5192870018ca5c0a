#include "ImageReaders.h"

#include "PlainPng.h"
#include "PngChunks.h"

#include <png.h>

#include <algorithm>

namespace {

// Frees libpng's read state however the read ends.
struct PngImageGuard {
    png_image image{};
    PngImageGuard() { image.version = PNG_IMAGE_VERSION; }
    ~PngImageGuard() { png_image_free(&image); }
    PngImageGuard(const PngImageGuard&) = delete;
    PngImageGuard& operator=(const PngImageGuard&) = delete;
};

// libpng takes a file gamma this near sRGB's (1/2.2, as 45455) for sRGB.
bool isSrgbGamma(std::uint32_t gamma)
{
    return gamma >= 44500 && gamma <= 46500;
}

// Whether every chunk up to IEND lies inside the bytes (libpng allocates a chunk's
// declared length before it reads the data, so a length the bytes cannot hold is
// refused here), and whether the image is plain: 8-bit RGB, not interlaced, with
// nothing that libpng would convert by (a gamma other than sRGB's, a colour profile,
// a transparent colour), as screenshots are; and where its image data starts.
struct ChunkCheck {
    bool fits = false;
    bool plain = false;
    std::uint64_t firstImageData = 0;
};

ChunkCheck checkChunks(std::span<const std::uint8_t> png)
{
    ChunkCheck check;
    if (png.size() < PngSignature.size() || !std::equal(PngSignature.begin(), PngSignature.end(), png.begin()))
        return check;
    bool rgb8 = false;
    bool converted = false;
    std::uint64_t at = PngSignature.size();
    while (at + ChunkFrame <= png.size()) {
        const std::uint64_t length = bigEndian(png, at);
        if (at + ChunkFrame + length > png.size())
            return check;
        if (isChunkType(png, at, "IEND"))
            return {true, rgb8 && !converted && check.firstImageData > 0, check.firstImageData};
        if (isChunkType(png, at, "IHDR") && length == 13)
            rgb8 = png[at + 16] == 8 && png[at + 17] == 2 && png[at + 20] == 0;
        if (isChunkType(png, at, "IDAT") && check.firstImageData == 0)
            check.firstImageData = at;
        const bool otherGamma = isChunkType(png, at, "gAMA") && length == 4 && !isSrgbGamma(bigEndian(png, at + 8));
        converted = converted || otherGamma || isChunkType(png, at, "iCCP") || isChunkType(png, at, "tRNS");
        at += ChunkFrame + length;
    }
    return check;
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
// converted to sRGB. A plain 8-bit RGB image, what screenshots are, is decoded
// straight into the DIB's rows.
DibError readPng(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out)
{
    const ChunkCheck chunks = checkChunks(file);
    if (!chunks.fits)
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
    const std::size_t room = chunks.plain ? std::max(bytes, plainPngCapacity(width, height)) : bytes;
    if (const DibError error = allocateBytes(bits, room); error != DibError::None)
        return error;
    if (!chunks.plain || !decodePlainPng(file, chunks.firstImageData, width, height, bits.data())) {
        // libpng fills each row; only the bytes that pad rows to four are left to zero.
        const std::size_t stride = dibStride(width, 24);
        if (stride != 3 * static_cast<std::size_t>(width))
            std::fill(bits.begin(), bits.end(), 0);
        image.format = PNG_FORMAT_BGR;
        const png_color black{0, 0, 0};
        // A negative stride asks libpng for bottom-up rows, the DIB order.
        if (!png_image_finish_read(&image, &black, bits.data(), -static_cast<png_int_32>(stride), nullptr))
            return DibError::DecodeFailed;
    }
    bits.resize(bytes);
    try {
        out = std::make_unique<Dib>(width, height, 24, std::move(bits));
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    return DibError::None;
}
