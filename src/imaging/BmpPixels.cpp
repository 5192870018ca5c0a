#include "BmpPixels.h"

#include "AlphaOnWhite.h"
#include "BmpRle.h"
#include "HelpedRows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Rows from which a second thread helps (a 1920 x 1080 screen has 1080), and the rows
// each thread takes at a time.
constexpr int ParallelRows = 256;
constexpr int RowsAtATime = 32;

std::size_t sourceStride(const BmpLayout& l) { return dibStride(l.width, l.bitCount); }

// The file's row that becomes the image's row y, counted from the bottom.
const std::uint8_t* sourceRow(const BmpLayout& l, std::span<const std::uint8_t> body, int y)
{
    const int fileRow = l.topDown ? l.height - 1 - y : y;
    return body.data() + sourceStride(l) * static_cast<std::size_t>(fileRow);
}

DibError allocateRows(const BmpLayout& l, int bitCount, Bytes& rows)
{
    return allocateBytes(rows, dibStride(l.width, bitCount) * static_cast<std::size_t>(l.height));
}

// Zeroes the bytes after the row's pixels that pad it to four.
void zeroPadding(std::uint8_t* row, std::size_t pixelBytes, std::size_t stride)
{
    std::memset(row + pixelBytes, 0, stride - pixelBytes);
}

// One channel's values scaled to 0..255, by table where the channel has few bits.
class ChannelScale
{
public:
    explicit ChannelScale(const ChannelMask& mask, std::uint8_t absent)
        : m_mask(mask.mask)
        , m_shift(mask.shift)
        , m_max(mask.bits == 32 ? 0xFFFFFFFFu : (1u << mask.bits) - 1)
        , m_absent(absent)
    {
        if (mask.bits > 0 && mask.bits <= 16)
            for (std::uint32_t v = 0; v <= m_max; ++v)
                m_table.push_back(scaled(v));
    }

    [[nodiscard]] std::uint8_t operator()(std::uint32_t pixel) const
    {
        if (m_mask == 0)
            return m_absent;
        const std::uint32_t v = (pixel & m_mask) >> m_shift;
        return m_table.empty() ? scaled(v) : m_table[v];
    }

private:
    [[nodiscard]] std::uint8_t scaled(std::uint32_t v) const
    {
        return static_cast<std::uint8_t>((std::uint64_t{v} * 255 + m_max / 2) / m_max);
    }

    std::uint32_t m_mask;
    int m_shift;
    std::uint32_t m_max;
    std::uint8_t m_absent;
    std::vector<std::uint8_t> m_table;
};

std::uint32_t pixelAt(const std::uint8_t* row, int x, int bytesPerPixel)
{
    std::uint32_t v = 0;
    std::memcpy(&v, row + static_cast<std::size_t>(x) * static_cast<std::size_t>(bytesPerPixel),
                static_cast<std::size_t>(bytesPerPixel));
    return v;
}

// A program that writes alpha masks but no alpha leaves every pixel at 0; such a
// picture is meant opaque, not as nothing at all.
bool allTransparent(const BmpLayout& l, const ChannelScale& alpha, std::span<const std::uint8_t> body)
{
    const int bytesPerPixel = l.bitCount / 8;
    for (int y = 0; y < l.height; ++y) {
        const std::uint8_t* row = sourceRow(l, body, y);
        for (int x = 0; x < l.width; ++x)
            if (alpha(pixelAt(row, x, bytesPerPixel)) != 0)
                return false;
    }
    return true;
}

bool isPlainBgrx(const BmpLayout& l, const std::array<ChannelMask, 4>& m)
{
    return l.bitCount == 32 && m[0].mask == 0xFF0000 && m[1].mask == 0xFF00 && m[2].mask == 0xFF && m[3].mask == 0;
}

// Blue, green, red of each 4-byte pixel, four pixels (16 bytes in, 12 out) at a time.
void bgrxRow(const std::uint8_t* from, std::uint8_t* to, int width)
{
    int x = 0;
    for (; x + 4 <= width; x += 4, from += 16, to += 12) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, from, 8);
        std::memcpy(&b, from + 8, 8);
        const std::uint64_t low = (a & 0xFFFFFF) | ((a >> 8) & 0xFFFFFF000000) | (b << 48);
        const auto high = static_cast<std::uint32_t>(((b >> 16) & 0xFF) | ((b >> 24) & 0xFFFFFF00));
        std::memcpy(to, &low, 8);
        std::memcpy(to + 8, &high, 4);
    }
    for (; x < width; ++x, from += 4, to += 3)
        std::memcpy(to, from, 3);
}

}  // namespace

bool isFiveFiveFive(const BmpLayout& l, const std::array<ChannelMask, 4>& m)
{
    return l.bitCount == 16 && m[0].mask == 0x7C00 && m[1].mask == 0x3E0 && m[2].mask == 0x1F && m[3].mask == 0;
}

DibError copiedRows(const BmpLayout& l, std::span<const std::uint8_t> body, Bytes& rows)
{
    const std::size_t stride = sourceStride(l);
    if (!l.topDown) {
        if (const DibError error = allocateBytes(rows, stride * static_cast<std::size_t>(l.height));
            error != DibError::None)
            return error;
        std::memcpy(rows.data(), body.data(), rows.size());
        return DibError::None;
    }
    if (const DibError error = allocateRows(l, l.bitCount, rows); error != DibError::None)
        return error;
    for (int y = 0; y < l.height; ++y)
        std::memcpy(rows.data() + stride * static_cast<std::size_t>(y), sourceRow(l, body, y), stride);
    return DibError::None;
}

DibError unpackedIndices(const BmpLayout& l, std::span<const std::uint8_t> body, Bytes& rows)
{
    if (const DibError error = allocateRows(l, 8, rows); error != DibError::None)
        return error;
    const std::size_t stride = dibStride(l.width, 8);
    const int bits = l.bitCount;
    const unsigned mask = (1u << bits) - 1;
    for (int y = 0; y < l.height; ++y) {
        const std::uint8_t* from = sourceRow(l, body, y);
        std::uint8_t* to = rows.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < l.width; ++x) {
            const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bits);
            to[x] = static_cast<std::uint8_t>((from[bit / 8] >> (8 - bits - static_cast<int>(bit % 8))) & mask);
        }
        zeroPadding(to, static_cast<std::size_t>(l.width), stride);
    }
    return DibError::None;
}

DibError runLengthIndices(const BmpLayout& l, std::span<const std::uint8_t> stream, Bytes& rows)
{
    if (const DibError error = allocateRows(l, 8, rows); error != DibError::None)
        return error;
    std::fill(rows.begin(), rows.end(), 0);
    const int indexBits = l.compression == BI_RLE4 ? 4 : 8;
    return drawRle(stream, indexBits, l.width, l.height, rows.data(), dibStride(l.width, 8)) ? DibError::None
                                                                                             : DibError::DecodeFailed;
}

DibError maskedColours(const BmpLayout& l, const std::array<ChannelMask, 4>& masks, std::span<const std::uint8_t> body,
                       Bytes& rows)
{
    if (const DibError error = allocateRows(l, 24, rows); error != DibError::None)
        return error;
    const std::size_t stride = dibStride(l.width, 24);
    if (isPlainBgrx(l, masks)) {
        helpedRows(l.height, RowsAtATime, ParallelRows, [&](int begin, int end) {
            for (int y = begin; y < end; ++y) {
                std::uint8_t* to = rows.data() + stride * static_cast<std::size_t>(y);
                bgrxRow(sourceRow(l, body, y), to, l.width);
                zeroPadding(to, 3 * static_cast<std::size_t>(l.width), stride);
            }
        });
        return DibError::None;
    }
    const ChannelScale red(masks[0], 0);
    const ChannelScale green(masks[1], 0);
    const ChannelScale blue(masks[2], 0);
    const ChannelScale alpha(masks[3], 255);
    const bool opaque = masks[3].mask == 0 || allTransparent(l, alpha, body);
    const AlphaOnWhite& onWhite = AlphaOnWhite::instance();
    const int bytesPerPixel = l.bitCount / 8;
    for (int y = 0; y < l.height; ++y) {
        const std::uint8_t* from = sourceRow(l, body, y);
        std::uint8_t* to = rows.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < l.width; ++x) {
            const std::uint32_t pixel = pixelAt(from, x, bytesPerPixel);
            const std::array<std::uint8_t, 3> bgr{blue(pixel), green(pixel), red(pixel)};
            const unsigned a = opaque ? 255 : alpha(pixel);
            for (std::size_t c = 0; c < 3; ++c)
                to[3 * static_cast<std::size_t>(x) + c] = a == 255 ? bgr[c] : onWhite(bgr[c], a);
        }
        zeroPadding(to, 3 * static_cast<std::size_t>(l.width), stride);
    }
    return DibError::None;
}
