// Windows bitmap file, all fields little-endian:
//   BITMAPFILEHEADER (14 bytes): "BM", u32 file size, u16 0, u16 0, u32 offset of the pixels
//   BITMAPINFOHEADER (40 bytes): u32 40, i32 width, i32 height (> 0: rows bottom-up),
//     u16 planes 1, u16 bits per pixel (8, 16, 24), u32 compression (0 BI_RGB, 1 BI_RLE8),
//     u32 size of the pixel bytes, i32 3780 x 3780 pixels per metre (96 dpi),
//     u32 colours used (palette entries for 8 bits, else 0), u32 important colours 0
//   palette (8 bits only): blue, green, red, 0 per entry
//   pixels: bottom-up rows padded to 4 bytes (16 bits: 0RRRRRGG GGGBBBBB, 5-5-5), or the
//     BI_RLE8 stream (encoded runs n v, escapes 00 00 end of line, 00 01 end of bitmap,
//     absolute runs 00 n ... padded to 16 bits)
#include "SafeFileStatus.h"
#include "DibTable.h"

#include <array>

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::int32_t PixelsPerMetre = 3780;

class LittleEndian
{
public:
    void u8(std::uint32_t v) { put(v, 1); }
    void u16(std::uint32_t v) { put(v, 2); }
    void u32(std::uint32_t v) { put(v, 4); }
    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    void put(std::uint32_t v, int width)
    {
        for (int i = 0; i < width; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t> m_bytes;
};

std::vector<std::uint8_t> headers(const Dib& dib, std::size_t fileSize, std::size_t offset)
{
    LittleEndian out;
    out.u16(0x4D42);  // "BM"
    out.u32(static_cast<std::uint32_t>(fileSize));
    out.u32(0);
    out.u32(static_cast<std::uint32_t>(offset));
    out.u32(InfoHeaderSize);
    out.u32(static_cast<std::uint32_t>(dib.width()));
    out.u32(static_cast<std::uint32_t>(dib.height()));
    out.u16(1);
    out.u16(static_cast<std::uint32_t>(dib.bitCount()));
    out.u32(dib.compression());
    out.u32(static_cast<std::uint32_t>(dib.bits().size()));
    out.u32(PixelsPerMetre);
    out.u32(PixelsPerMetre);
    out.u32(static_cast<std::uint32_t>(dib.palette().size()));
    out.u32(0);
    for (const RgbQuad& q : dib.palette())
        for (std::uint8_t b : q)
            out.u8(b);
    return out.bytes();
}

DibStatus writeBmp(const std::string& path, DIBHandle handle, ExistingFile existing)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    const Dib& dib = *lease->dib;
    const std::size_t offset = FileHeaderSize + InfoHeaderSize + 4 * dib.palette().size();
    const std::size_t fileSize = offset + dib.bits().size();
    if (fileSize > 0xFFFFFFFFu)
        return {DibError::TooLarge};
    SafeFile file(path, existing);
    if (const DibError error = toDibError(file.open()); error != DibError::None)
        return {error};
    const std::vector<std::uint8_t> head = headers(dib, fileSize, offset);
    if (const DibError error = toDibError(file.write(head.data(), head.size())); error != DibError::None)
        return {error};
    if (const DibError error = toDibError(file.write(dib.bits().data(), dib.bits().size())); error != DibError::None)
        return {error};
    return {toDibError(file.commit())};
}

}  // namespace

DibStatus DIBtoBMP(const std::string& path, DIBHandle handle, ExistingFile existing)
{
    return withoutThrowing([&] { return writeBmp(path, handle, existing); });
}
