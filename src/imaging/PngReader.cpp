#include "ImageReaders.h"

#include <png.h>

#include <filesystem>

namespace {

// Frees libpng's read state however the read ends.
struct PngImageGuard {
    png_image image{};
    PngImageGuard() { image.version = PNG_IMAGE_VERSION; }
    ~PngImageGuard() { png_image_free(&image); }
    PngImageGuard(const PngImageGuard&) = delete;
    PngImageGuard& operator=(const PngImageGuard&) = delete;
};

// Deflate packs at most about 1032 bytes into one; this is a little above that.
constexpr std::uintmax_t MostDeflateRatio = 1100;

// A file too short to hold the rows its header declares even at deflate's best
// (a 1-bit image: one byte per eight pixels and a filter byte per row) is refused
// before its size is allocated.
bool canHoldItsRows(const std::string& path, png_uint_32 width, png_uint_32 height)
{
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    const std::uintmax_t leastRaw = std::uintmax_t{height} * (1 + (std::uintmax_t{width} + 7) / 8);
    return !error && fileSize * MostDeflateRatio >= leastRaw;
}

}  // namespace

// Any PNG becomes 24-bit B, G, R through libpng's simplified reader: alpha is
// composited onto black, 16-bit samples are reduced, and a gamma other than sRGB's is
// converted to sRGB.
DibError readPng(const std::string& path, std::unique_ptr<Dib>& out)
{
    PngImageGuard guard;
    png_image& image = guard.image;
    if (!png_image_begin_read_from_file(&image, path.c_str()) || !canHoldItsRows(path, image.width, image.height))
        return DibError::DecodeFailed;
    const auto width = static_cast<int>(std::min<png_uint_32>(image.width, 0x7FFFFFFF));
    const auto height = static_cast<int>(std::min<png_uint_32>(image.height, 0x7FFFFFFF));
    std::size_t bytes = 0;
    if (const DibError error = dibImageBytes(width, height, 24, bytes); error != DibError::None)
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
