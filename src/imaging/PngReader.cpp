#include "ImageReaders.h"

#include "PlainPng.h"
#include "PngChunks.h"
#include "PngErrors.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

namespace {

// libpng takes a file gamma this near sRGB's (1/2.2, as 45455) for sRGB.
bool isSrgbGamma(std::uint32_t gamma) { return gamma >= 44500 && gamma <= 46500; }

// Whether every chunk up to IEND lies inside the bytes (libpng allocates a chunk's
// declared length before it reads the data, so a length the bytes cannot hold is
// refused here), and whether the image is plain: 8-bit RGB, not interlaced, with
// nothing that libpng would convert by (a gamma other than sRGB's, a colour profile,
// a transparent colour), as screenshots are; and where its image data starts.
struct ChunkCheck {
    bool fits = false;
    bool plain = false;
    std::uint64_t firstImageData = 0;
    png_uint_32 width = 0;  // as IHDR declares them
    png_uint_32 height = 0;
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
        if (isChunkType(png, at, "IEND")) {
            check.fits = check.width > 0 && check.height > 0;
            check.plain = rgb8 && !converted && check.firstImageData > 0;
            return check;
        }
        if (isChunkType(png, at, "IHDR") && length == 13) {
            rgb8 = png[at + 16] == 8 && png[at + 17] == 2 && png[at + 20] == 0;
            check.width = bigEndian(png, at + 8);
            check.height = bigEndian(png, at + 12);
        }
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

// Where libpng reads the file from: its bytes in memory.
struct PngSource {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t at;
};

extern "C" void readPngBytes(png_structp png, png_bytep out, std::size_t count)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->size - source->at)
        png_error(png, "the file ends early");
    std::memcpy(out, source->bytes + source->at, count);
    source->at += count;
}

// What libpng does to every colour type, depth and transparency to make it 24-bit
// B, G, R: 16-bit samples taken as linear light unless the file says otherwise and
// everything brought to sRGB, alpha composited onto white in linear light. Rows are
// read pass by pass and row by row, whatever the interlace.
void setTransforms(png_structp png, png_infop info)
{
    const int colorType = png_get_color_type(png, info);
    const bool sixteenBit = png_get_bit_depth(png, info) == 16;
    png_set_expand(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    // The first call sets the gamma a file without gAMA is taken to have.
    png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, sixteenBit ? PNG_GAMMA_LINEAR : PNG_DEFAULT_sRGB);
    if (sixteenBit)
        png_set_scale_16(png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        png_color_16 white{};
        white.red = white.green = white.blue = white.gray = 255;
        png_set_background_fixed(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, 0);
    }
    png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    png_set_bgr(png);
}

// The only function that uses setjmp: no C++ object with a destructor lives here.
// Fills the bottom-up rows of a width x height 24-bit image, stride bytes apart.
int decodeWithLibpng(PngSource* source, png_uint_32 width, png_uint_32 height, std::uint8_t* bits, std::size_t stride)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFail, pngWarn);
    if (!png)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return 0;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    png_set_read_fn(png, source, readPngBytes);
    png_set_benign_errors(png, 1);
    png_read_info(png, info);
    setTransforms(png, info);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height
        || png_get_rowbytes(png, info) != 3 * std::size_t{width})
        png_error(png, "unexpected transformation");
    while (passes-- > 0)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, bits + stride * (height - 1 - y), nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return 1;
}

}  // namespace

// Any PNG becomes 24-bit B, G, R through libpng (see setTransforms). A plain 8-bit RGB
// image, what screenshots are, is decoded straight into the DIB's rows.
DibError readPng(std::span<const std::uint8_t> file, std::unique_ptr<Dib>& out)
{
    const ChunkCheck chunks = checkChunks(file);
    if (!chunks.fits || !canHoldItsRows(file.size(), chunks.width, chunks.height))
        return DibError::DecodeFailed;
    const auto width = static_cast<int>(std::min<png_uint_32>(chunks.width, MaxSide + 1));
    const auto height = static_cast<int>(std::min<png_uint_32>(chunks.height, MaxSide + 1));
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
        PngSource source{file.data(), file.size(), 0};
        if (!decodeWithLibpng(&source, chunks.width, chunks.height, bits.data(), stride))
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
