#include "BmpLayout.h"

#include <bit>

namespace {

constexpr std::uint64_t FileHeaderBytes = 14;
constexpr std::uint32_t CoreInfoBytes = 12;  // OS/2 1.x
constexpr std::uint32_t Os2InfoBytes = 64;   // OS/2 2.x, whose compressions 3 and 4 are not Windows'

bool knownInfoSize(std::uint32_t size)
{
    switch (size) {
    case CoreInfoBytes:
    case 40:
    case 52:
    case 56:
    case Os2InfoBytes:
    case 108:
    case 124: return true;
    default: return false;
    }
}

bool knownDepth(int bits)
{
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Whether the depth and the compression go together, and the rows may run top-down.
bool consistent(const BmpLayout& l)
{
    if (l.infoSize == Os2InfoBytes && l.compression > BI_RLE4)
        return false;
    switch (l.compression) {
    case BI_RGB: return knownDepth(l.bitCount);
    case BI_RLE8: return l.bitCount == 8 && !l.topDown;
    case BI_RLE4: return l.bitCount == 4 && !l.topDown;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: return l.bitCount == 16 || l.bitCount == 32;
    case BI_JPEG:
    case BI_PNG: return !l.topDown;
    default: return false;
    }
}

void placeMasksAndPalette(BmpLayout& l)
{
    const std::uint64_t afterInfo = FileHeaderBytes + l.infoSize;
    l.paletteAt = afterInfo;
    if (!l.bitFields())
        return;
    l.maskCount = l.compression == BI_ALPHABITFIELDS || l.infoSize >= 56 ? 4 : 3;
    if (l.infoSize == 40) {
        l.masksAt = afterInfo;
        l.paletteAt = afterInfo + 4 * static_cast<std::uint64_t>(l.maskCount);
    } else {
        l.masksAt = FileHeaderBytes + 40;
    }
}

bool channelOf(std::uint32_t mask, int bitCount, ChannelMask& channel)
{
    if (bitCount < 32 && (mask >> bitCount) != 0)
        return false;
    channel.mask = mask;
    channel.shift = mask ? std::countr_zero(mask) : 0;
    channel.bits = std::popcount(mask);
    // One unbroken run of bits.
    return mask == 0 || ((mask >> channel.shift) & ((mask >> channel.shift) + 1)) == 0;
}

}  // namespace

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::uint64_t at, int width)
{
    std::uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= static_cast<std::uint32_t>(bytes[at + static_cast<std::uint64_t>(i)]) << (8 * i);
    return v;
}

bool parseBmpLayout(std::span<const std::uint8_t> f, std::uint64_t fileSize, BmpLayout& l)
{
    if (f.size() < FileHeaderBytes + CoreInfoBytes || f[0] != 'B' || f[1] != 'M')
        return false;
    l.offset = littleEndian(f, 10, 4);
    l.infoSize = littleEndian(f, 14, 4);
    if (!knownInfoSize(l.infoSize) || l.offset > fileSize)
        return false;
    if (l.infoSize == CoreInfoBytes) {
        l.width = static_cast<int>(littleEndian(f, 18, 2));
        l.height = static_cast<int>(littleEndian(f, 20, 2));
        l.bitCount = static_cast<int>(littleEndian(f, 24, 2));
        l.paletteEntryBytes = 3;
        l.paletteAt = FileHeaderBytes + CoreInfoBytes;
        return littleEndian(f, 22, 2) == 1 && consistent(l);
    }
    if (f.size() < FileHeaderBytes + 40)
        return false;
    l.width = static_cast<std::int32_t>(littleEndian(f, 18, 4));
    const auto height = static_cast<std::int32_t>(littleEndian(f, 22, 4));
    if (height == INT32_MIN)
        return false;
    l.topDown = height < 0;
    l.height = height < 0 ? -height : height;
    l.bitCount = static_cast<int>(littleEndian(f, 28, 2));
    l.compression = littleEndian(f, 30, 4);
    l.sizeImage = littleEndian(f, 34, 4);
    l.colorsUsed = littleEndian(f, 46, 4);
    placeMasksAndPalette(l);
    return littleEndian(f, 26, 2) == 1 && consistent(l);
}

bool readChannelMasks(std::span<const std::uint8_t> f, const BmpLayout& l, std::array<ChannelMask, 4>& masks)
{
    std::array<std::uint32_t, 4> values{};
    if (l.masksAt == 0)
        values = l.bitCount == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x3E0, 0x1F, 0}
                                  : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
    else if (l.masksAt + 4 * static_cast<std::uint64_t>(l.maskCount) > f.size())
        return false;
    for (int i = 0; i < l.maskCount; ++i)
        values[static_cast<std::size_t>(i)] = littleEndian(f, l.masksAt + 4 * static_cast<std::uint64_t>(i), 4);
    std::uint32_t seen = 0;
    for (std::size_t i = 0; i < masks.size(); ++i) {
        if (!channelOf(values[i], l.bitCount, masks[i]) || (seen & values[i]) != 0)
            return false;
        seen |= values[i];
    }
    return (values[0] | values[1] | values[2]) != 0;
}
