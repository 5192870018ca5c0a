#include "ImageReaders.h"

#include "BmpLayout.h"
#include "BmpPixels.h"

#include <algorithm>

namespace {

// The longest run-length stream of an image: every pixel a run of its own (two bytes),
// an end of line for every row and the end of the image.
std::uint64_t longestRunLength(const BmpLayout& l)
{
    const auto height = static_cast<std::uint64_t>(l.height);
    return 2 * static_cast<std::uint64_t>(l.width) * height + 2 * height + 2;
}

// The bytes of the body the layout declares: the rows at the file's depth, a run-length
// stream as long as the header says (or the longest one), an embedded file as long as
// the header says (or the longest one the readers take).
DibError declaredBody(const BmpLayout& l, std::uint64_t& body)
{
    if (l.embedded()) {
        body = l.sizeImage ? l.sizeImage : MaxEncodedBytes;
        return DibError::None;
    }
    // The program turns every image into 24 bits on its way out: one that cannot be
    // held at 24 bits is refused before anything is allocated.
    std::size_t bytes = 0;
    if (const DibError error = decodedImageBytes(l.width, l.height, bytes); error != DibError::None)
        return error;
    if (const DibError error = dibImageBytes(l.width, l.height, l.bitCount, bytes); error != DibError::None)
        return error;
    body = l.runLength() ? (l.sizeImage ? l.sizeImage : longestRunLength(l)) : bytes;
    return DibError::None;
}

// The palette: as many entries as the header says (no more than the depth can
// index), or as the depth can index where the header gives none, as far as they fit
// before the pixels.
DibError readPalette(std::span<const std::uint8_t> f, const BmpLayout& l, std::vector<RgbQuad>& palette)
{
    const std::size_t most = std::size_t{1} << l.bitCount;
    std::size_t entries = l.colorsUsed ? std::min<std::size_t>(l.colorsUsed, most) : most;
    const std::uint64_t end = std::min<std::uint64_t>(l.offset, f.size());
    if (l.colorsUsed == 0)
        entries = std::min<std::uint64_t>(entries, end > l.paletteAt ? (end - l.paletteAt) / l.paletteEntryBytes : 0);
    if (l.paletteAt + entries * l.paletteEntryBytes > end)
        return DibError::DecodeFailed;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = l.paletteAt + i * l.paletteEntryBytes;
        palette.push_back({f[at], f[at + 1], f[at + 2], 0});
    }
    return DibError::None;
}

// Every colour index the image draws with has a palette entry.
bool indicesInPalette(const BmpLayout& l, const Bytes& rows, std::size_t paletteSize)
{
    const std::size_t stride = dibStride(l.width, 8);
    const auto width = static_cast<std::size_t>(l.width);
    for (std::size_t row = 0; row + stride <= rows.size(); row += stride)
        if (std::any_of(rows.begin() + static_cast<std::ptrdiff_t>(row),
                        rows.begin() + static_cast<std::ptrdiff_t>(row + width),
                        [paletteSize](std::uint8_t index) { return index >= paletteSize; }))
            return false;
    return true;
}

DibError readIndexed(std::span<const std::uint8_t> f, const BmpLayout& l, std::span<const std::uint8_t> body,
                     std::unique_ptr<Dib>& out)
{
    std::vector<RgbQuad> palette;
    if (const DibError error = readPalette(f, l, palette); error != DibError::None)
        return error;
    Bytes rows;
    const DibError error = l.runLength()     ? runLengthIndices(l, body, rows)
                           : l.bitCount == 8 ? copiedRows(l, body, rows)
                                             : unpackedIndices(l, body, rows);
    if (error != DibError::None)
        return error;
    if (!indicesInPalette(l, rows, palette.size()))
        return DibError::DecodeFailed;
    out = std::make_unique<Dib>(l.width, l.height, 8, std::move(rows), std::move(palette));
    // An RLE8 image keeps its stream, as the library keeps the ones it makes.
    if (l.compression == BI_RLE8)
        out->replace(8, Bytes(body.begin(), body.end()), out->palette(), BI_RLE8);
    return DibError::None;
}

DibError readDirect(std::span<const std::uint8_t> f, const BmpLayout& l, std::span<const std::uint8_t> body,
                    std::unique_ptr<Dib>& out)
{
    Bytes rows;
    if (l.bitCount == 24) {
        if (const DibError error = copiedRows(l, body, rows); error != DibError::None)
            return error;
        out = std::make_unique<Dib>(l.width, l.height, 24, std::move(rows));
        return DibError::None;
    }
    std::array<ChannelMask, 4> masks{};
    if (!readChannelMasks(f, l, masks))
        return DibError::DecodeFailed;
    const bool kept = isFiveFiveFive(l, masks);
    const DibError error = kept ? copiedRows(l, body, rows) : maskedColours(l, masks, body, rows);
    if (error != DibError::None)
        return error;
    out = std::make_unique<Dib>(l.width, l.height, kept ? 16 : 24, std::move(rows));
    return DibError::None;
}

// A JPEG or PNG file inside the BMP, read by the library's own reader.
DibError readEmbedded(std::span<const std::uint8_t> body, const BmpLayout& l, std::unique_ptr<Dib>& out)
{
    return l.compression == BI_PNG ? readPng(body, out) : readJpeg(body, out);
}

DibError decode(std::span<const std::uint8_t> f, std::unique_ptr<Dib>& out)
{
    BmpLayout l;
    if (!parseBmpLayout(f, f.size(), l))
        return DibError::DecodeFailed;
    std::uint64_t declared = 0;
    if (const DibError error = declaredBody(l, declared); error != DibError::None)
        return error;
    const std::uint64_t available = f.size() - l.offset;
    // A stream or an embedded file is as long as the header says, or runs to the end
    // of the file; rows must all be there.
    const bool stream = l.runLength() || l.embedded();
    if (!stream && declared > available)
        return DibError::DecodeFailed;
    const auto body =
        f.subspan(static_cast<std::size_t>(l.offset), static_cast<std::size_t>(std::min(declared, available)));
    if (l.embedded())
        return readEmbedded(body, l, out);
    return l.indexed() ? readIndexed(f, l, body, out) : readDirect(f, l, body, out);
}

}  // namespace

DibError bmpFileBytes(std::span<const std::uint8_t> head, std::uint64_t fileSize, std::size_t& needed)
{
    BmpLayout l;
    if (!parseBmpLayout(head, fileSize, l))
        return DibError::DecodeFailed;
    std::uint64_t body = 0;
    if (const DibError error = declaredBody(l, body); error != DibError::None)
        return error;
    needed = static_cast<std::size_t>(
        std::min<std::uint64_t>(fileSize, std::max<std::uint64_t>(l.offset + body, BmpHeaderBytes)));
    return DibError::None;
}

DibError readBmp(std::span<const std::uint8_t> f, std::unique_ptr<Dib>& out)
{
    try {
        return decode(f, out);
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
}
