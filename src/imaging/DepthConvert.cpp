#include "DibTable.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <array>
#include <cstring>

namespace {

void packRow555(const std::uint8_t* bgr, int width, std::uint8_t* out)
{
    for (int x = 0; x < width; ++x, bgr += 3) {
        const unsigned v = (reduce5(bgr[2]) << 10) | (reduce5(bgr[1]) << 5) | reduce5(bgr[0]);
        out[2 * x] = static_cast<std::uint8_t>(v);
        out[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
    }
}

// Palette indices as blue, green, red bytes through a table of the palette's 256 entries
// (black past its end): all but the last pixel in one 4-byte store each, whose fourth
// byte the next pixel writes over.
class PaletteToBgr
{
public:
    explicit PaletteToBgr(const std::vector<RgbQuad>& palette)
    {
        for (std::size_t i = 0; i < palette.size() && i < m_bgr.size(); ++i)
            m_bgr[i] = palette[i][0] | std::uint32_t{palette[i][1]} << 8 | std::uint32_t{palette[i][2]} << 16;
    }
    void row(const std::uint8_t* indices, int width, std::uint8_t* bgr) const
    {
        int x = 0;
        for (; x + 1 < width; ++x, bgr += 3)
            std::memcpy(bgr, &m_bgr[indices[x]], 4);
        if (x < width)
            std::memcpy(bgr, &m_bgr[indices[x]], 3);
    }

private:
    std::array<std::uint32_t, 256> m_bgr{};  // little-endian, like the pixel rows
};

// Rebuilds the image at 16 or 24 bits per pixel from its current pixels.
DibStatus convertDepth(DIBHandle handle, int bitCount)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    Dib& dib = *lease->dib;
    if (dib.bitCount() == bitCount && dib.compression() == BI_RGB)
        return {};
    std::unique_ptr<Dib> decoded;
    const Dib* plain = nullptr;
    if (const DibError error = uncompressedView(dib, decoded, plain); error != DibError::None)
        return {error};
    std::size_t bytes = 0;
    Bytes bits;
    if (const DibError error = dibImageBytes(dib.width(), dib.height(), bitCount, bytes); error != DibError::None)
        return {error};
    if (const DibError error = allocateBytes(bits, bytes); error != DibError::None)
        return {error};
    const std::size_t stride = dibStride(dib.width(), bitCount);
    const PaletteToBgr fromPalette(plain->palette());
    const bool indexed = plain->bitCount() == 8;
    const auto rows = [&](int begin, int end) {
        std::vector<std::uint8_t> scratch(3 * static_cast<std::size_t>(dib.width()));
        for (int y = begin; y < end; ++y) {
            std::uint8_t* out = bits.data() + stride * static_cast<std::size_t>(dib.height() - 1 - y);
            const std::size_t used = static_cast<std::size_t>(dib.width()) * static_cast<std::size_t>(bitCount / 8);
            std::memset(out + used, 0, stride - used);
            if (bitCount == 24 && indexed) {
                fromPalette.row(plain->rowFromTop(y), dib.width(), out);
            } else if (bitCount == 24) {
                readRowBgr(*plain, y, out);
            } else {
                readRowBgr(*plain, y, scratch.data());
                packRow555(scratch.data(), dib.width(), out);
            }
        }
    };
    if (!splitInTwo(dib.height(), 64, rows))
        return {DibError::OutOfMemory};
    dib.replace(bitCount, std::move(bits), {});
    return {};
}

}  // namespace

// The referenced value is reserved (always 0): 16 bits means 5-5-5 here.
DibStatus DIBto16Bit(DIBHandle dib, const std::int32_t& reserved)
{
    if (reserved != 0)
        return {DibError::BadArgument};
    return withoutThrowing([&] { return convertDepth(dib, 16); });
}

DibStatus DIBto24Bit(DIBHandle dib)
{
    return withoutThrowing([&] { return convertDepth(dib, 24); });
}
