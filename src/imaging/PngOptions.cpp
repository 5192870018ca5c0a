#include "dibimage.h"

namespace {

std::uint32_t readLe(std::span<const std::uint8_t, 16> bytes, std::size_t at, std::size_t width)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

void writeLe(std::array<std::uint8_t, 16>& bytes, std::size_t at, std::size_t width, std::uint32_t value)
{
    for (std::size_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

PngOptions PngOptions::fromBytes(std::span<const std::uint8_t, 16> bytes)
{
    PngOptions options;
    options.flags = readLe(bytes, 0, 4);
    options.level = static_cast<std::uint16_t>(readLe(bytes, 4, 2));
    options.unused = static_cast<std::uint16_t>(readLe(bytes, 6, 2));
    options.filters = readLe(bytes, 8, 4);
    options.gamma = readLe(bytes, 12, 4);
    return options;
}

std::array<std::uint8_t, 16> PngOptions::toBytes() const
{
    std::array<std::uint8_t, 16> bytes{};
    writeLe(bytes, 0, 4, flags);
    writeLe(bytes, 4, 2, level);
    writeLe(bytes, 6, 2, unused);
    writeLe(bytes, 8, 4, filters);
    writeLe(bytes, 12, 4, gamma);
    return bytes;
}
