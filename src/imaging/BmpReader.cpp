#include "ImageReaders.h"

#include "Rle.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t le(std::span<const std::uint8_t> f, std::size_t at, int width)
{
    std::uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= static_cast<std::uint32_t>(f[at + static_cast<std::size_t>(i)]) << (8 * i);
    return v;
}

struct BmpHeader {
    std::uint32_t offset;
    std::uint32_t infoSize;
    std::int32_t width;
    std::int32_t height;  // negative: rows top-down
    std::uint32_t bitCount;
    std::uint32_t compression;
    std::uint32_t sizeImage;
    std::uint32_t colorsUsed;
};

bool parseHeader(std::span<const std::uint8_t> f, std::uint64_t fileSize, BmpHeader& h)
{
    if (f.size() < BmpHeaderBytes || f[0] != 'B' || f[1] != 'M')
        return false;
    h.offset = le(f, 10, 4);
    h.infoSize = le(f, 14, 4);
    h.width = static_cast<std::int32_t>(le(f, 18, 4));
    h.height = static_cast<std::int32_t>(le(f, 22, 4));
    h.bitCount = le(f, 28, 2);
    h.compression = le(f, 30, 4);
    h.sizeImage = le(f, 34, 4);
    h.colorsUsed = le(f, 46, 4);
    const bool rle = h.compression == BI_RLE8 && h.bitCount == 8 && h.height > 0;
    const bool plain = h.compression == BI_RGB && (h.bitCount == 8 || h.bitCount == 16 || h.bitCount == 24);
    return h.infoSize >= 40 && le(f, 26, 2) == 1 && (rle || plain) && h.height != INT32_MIN
           && h.offset <= fileSize && h.colorsUsed <= 256;
}

DibError readPalette(std::span<const std::uint8_t> f, const BmpHeader& h, std::vector<RgbQuad>& palette)
{
    if (h.bitCount != 8)
        return DibError::None;
    const std::size_t entries = h.colorsUsed ? h.colorsUsed : 256;
    const std::size_t at = 14 + static_cast<std::size_t>(h.infoSize);
    if (h.infoSize > f.size() || at + 4 * entries > h.offset)
        return DibError::DecodeFailed;
    for (std::size_t i = 0; i < entries; ++i)
        palette.push_back({f[at + 4 * i], f[at + 4 * i + 1], f[at + 4 * i + 2], 0});
    return DibError::None;
}

// Every colour index the image draws with has a palette entry.
bool indicesInPalette(const BmpHeader& h, const Bytes& bits, std::size_t paletteSize)
{
    if (h.bitCount != 8)
        return true;
    if (h.compression == BI_RLE8)
        return largestRle8Index(bits) < static_cast<int>(paletteSize);
    const std::size_t stride = dibStride(h.width, 8);
    const auto width = static_cast<std::size_t>(h.width);
    for (std::size_t row = 0; row + stride <= bits.size(); row += stride)
        for (std::size_t x = 0; x < width; ++x)
            if (bits[row + x] >= paletteSize)
                return false;
    return true;
}

// The pixel bytes the header declares. The program turns every image into 24 bits on
// its way out: one that cannot be held at 24 bits is refused before anything is
// allocated.
DibError pixelBytes(const BmpHeader& h, std::size_t& bytes)
{
    const int height = h.height < 0 ? -h.height : h.height;
    if (const DibError error = decodedImageBytes(h.width, height, bytes); error != DibError::None)
        return error;
    return dibImageBytes(h.width, height, static_cast<int>(h.bitCount), bytes);
}

// The longest RLE8 stream of an image: every pixel a run of its own (two bytes), an
// end of line for every row and the end of the image.
std::uint64_t longestRle8(const BmpHeader& h)
{
    const auto height = static_cast<std::uint64_t>(h.height);
    return 2 * static_cast<std::uint64_t>(h.width) * height + 2 * height + 2;
}

}  // namespace

DibError bmpFileBytes(std::span<const std::uint8_t> head, std::uint64_t fileSize, std::size_t& needed)
{
    BmpHeader h{};
    if (!parseHeader(head, fileSize, h))
        return DibError::DecodeFailed;
    std::size_t bytes = 0;
    if (const DibError error = pixelBytes(h, bytes); error != DibError::None)
        return error;
    const std::uint64_t body = h.compression == BI_RLE8 ? (h.sizeImage ? h.sizeImage : longestRle8(h)) : bytes;
    needed = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, std::max<std::uint64_t>(h.offset + body, BmpHeaderBytes)));
    return DibError::None;
}

DibError readBmp(std::span<const std::uint8_t> f, std::unique_ptr<Dib>& out)
{
    BmpHeader h{};
    if (!parseHeader(f, f.size(), h))
        return DibError::DecodeFailed;
    const int height = h.height < 0 ? -h.height : h.height;
    std::size_t bytes = 0;
    if (const DibError error = pixelBytes(h, bytes); error != DibError::None)
        return error;
    std::vector<RgbQuad> palette;
    if (const DibError error = readPalette(f, h, palette); error != DibError::None)
        return error;
    const std::size_t available = f.size() - h.offset;
    // An RLE8 stream is as long as the header says, or runs to the end of the file.
    const std::size_t stream = h.sizeImage ? std::min<std::size_t>(h.sizeImage, available) : available;
    const std::size_t body = h.compression == BI_RLE8 ? stream : bytes;
    if (body > available)
        return DibError::DecodeFailed;
    Bytes bits;
    if (const DibError error = allocateBytes(bits, body); error != DibError::None)
        return error;
    const std::size_t stride = bytes / static_cast<std::size_t>(height);
    for (int row = 0; row < height && h.compression == BI_RGB; ++row) {
        const std::size_t from = h.height < 0 ? static_cast<std::size_t>(height - 1 - row) : static_cast<std::size_t>(row);
        std::memcpy(bits.data() + stride * static_cast<std::size_t>(row), f.data() + h.offset + stride * from, stride);
    }
    if (h.compression == BI_RLE8 && body > 0)
        std::memcpy(bits.data(), f.data() + h.offset, body);
    if (!indicesInPalette(h, bits, palette.size()))
        return DibError::DecodeFailed;
    try {
        out = std::make_unique<Dib>(h.width, height, static_cast<int>(h.bitCount), std::move(bits), std::move(palette));
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    if (h.compression == BI_RLE8)
        out->replace(8, std::move(out->bits()), out->palette(), BI_RLE8);
    return DibError::None;
}
