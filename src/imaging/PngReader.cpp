#include "ImageReaders.h"

#include "PngErrors.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

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

bool isType(std::span<const std::uint8_t> png, std::uint64_t at, const char* type)
{
    return std::equal(png.begin() + static_cast<std::ptrdiff_t>(at) + 4, png.begin() + static_cast<std::ptrdiff_t>(at) + 8,
                      type);
}

// libpng takes a file gamma this near sRGB's (1/2.2, as 45455) for sRGB.
bool isSrgbGamma(std::uint32_t gamma)
{
    return gamma >= 44500 && gamma <= 46500;
}

// Whether every chunk up to IEND lies inside the bytes (libpng allocates a chunk's
// declared length before it reads the data, so a length the bytes cannot hold is
// refused here), and whether the image is plain: 8-bit RGB, not interlaced, with
// nothing that libpng would convert by (a gamma other than sRGB's, a colour profile,
// a transparent colour), as screenshots are.
struct ChunkCheck {
    bool fits = false;
    bool plain = false;
};

ChunkCheck checkChunks(std::span<const std::uint8_t> png)
{
    ChunkCheck check;
    if (png.size() < Signature.size() || !std::equal(Signature.begin(), Signature.end(), png.begin()))
        return check;
    bool rgb8 = false;
    bool converted = false;
    std::uint64_t at = Signature.size();
    while (at + ChunkFrame <= png.size()) {
        const std::uint64_t length = bigEndian(png, at);
        if (at + ChunkFrame + length > png.size())
            return check;
        if (isType(png, at, "IEND"))
            return {true, rgb8 && !converted};
        if (isType(png, at, "IHDR") && length == 13)
            rgb8 = png[at + 16] == 8 && png[at + 17] == 2 && png[at + 20] == 0;
        const bool otherGamma = isType(png, at, "gAMA") && length == 4 && !isSrgbGamma(bigEndian(png, at + 8));
        converted = converted || otherGamma || isType(png, at, "iCCP") || isType(png, at, "tRNS");
        at += ChunkFrame + length;
    }
    return check;
}

struct PngSource {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

extern "C" void pngRead(png_structp png, png_bytep data, std::size_t size)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (size > source->bytes.size() - source->at)
        png_error(png, "truncated");
    std::memcpy(data, source->bytes.data() + source->at, size);
    source->at += size;
}

// A plain image's rows straight into the DIB's, B, G, R: no conversion to make, so
// libpng's full reader does it without the simplified one's row copies, and the zlib
// checksum, which the chunk checksums already cover, is not computed.
// The only function that uses setjmp: no C++ object with a destructor lives here.
int readPlainRows(PngSource* source, png_bytep* rows)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFail, pngWarn);
    if (png == nullptr)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    png_set_read_fn(png, source, pngRead);
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
#ifdef PNG_IGNORE_ADLER32
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    png_read_info(png, info);
    png_set_bgr(png);
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return 1;
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
// converted to sRGB. A plain 8-bit RGB image, what screenshots are, is read straight.
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
    if (const DibError error = allocateBytes(bits, bytes); error != DibError::None)
        return error;
    // libpng fills each row; only the bytes that pad rows to four are left to zero.
    const std::size_t stride = dibStride(width, 24);
    if (stride != 3 * static_cast<std::size_t>(width))
        std::fill(bits.begin(), bits.end(), 0);
    if (chunks.plain) {
        std::vector<png_bytep> rows(static_cast<std::size_t>(height));
        for (std::size_t y = 0; y < rows.size(); ++y)
            rows[y] = bits.data() + stride * (rows.size() - 1 - y);
        PngSource source{file};
        if (!readPlainRows(&source, rows.data()))
            return DibError::DecodeFailed;
    } else {
        image.format = PNG_FORMAT_BGR;
        const png_color black{0, 0, 0};
        // A negative stride asks libpng for bottom-up rows, the DIB order.
        if (!png_image_finish_read(&image, &black, bits.data(), -static_cast<png_int_32>(stride), nullptr))
            return DibError::DecodeFailed;
    }
    try {
        out = std::make_unique<Dib>(width, height, 24, std::move(bits));
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    return DibError::None;
}
