#include "Dib.h"

#include <new>
#include <stdexcept>

std::size_t dibStride(int width, int bitCount)
{
    if (width <= 0 || width > MaxSide || bitCount <= 0 || bitCount > 32)
        return 0;
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32 * 4;
}

DibError dibImageBytes(int width, int height, int bitCount, std::size_t& bytes)
{
    if (width <= 0 || height <= 0)
        return DibError::BadArgument;
    if (width > MaxSide || height > MaxSide)
        return DibError::TooLarge;
    const std::size_t stride = dibStride(width, bitCount);
    if (stride == 0)
        return DibError::BadArgument;
    if (stride > MaxBytes / static_cast<std::size_t>(height))
        return DibError::TooLarge;
    bytes = stride * static_cast<std::size_t>(height);
    return DibError::None;
}

DibError decodedImageBytes(int width, int height, std::size_t& bytes)
{
    if (width > 0 && height > 0
        && static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > MaxDecodedPixels)
        return DibError::TooLarge;
    return dibImageBytes(width, height, 24, bytes);
}

DibError allocateBytes(Bytes& buffer, std::size_t size)
{
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    } catch (const std::length_error&) {
        return DibError::TooLarge;
    }
    return DibError::None;
}

Dib::Dib(int width, int height, int bitCount, Bytes bits, std::vector<RgbQuad> palette)
    : m_width(width)
    , m_height(height)
    , m_bitCount(bitCount)
    , m_bits(std::move(bits))
    , m_palette(std::move(palette))
{}

std::uint8_t* Dib::rowFromTop(int y) { return m_bits.data() + stride() * static_cast<std::size_t>(m_height - 1 - y); }

const std::uint8_t* Dib::rowFromTop(int y) const
{
    return m_bits.data() + stride() * static_cast<std::size_t>(m_height - 1 - y);
}

void Dib::replace(int bitCount, Bytes bits, std::vector<RgbQuad> palette, std::uint32_t compression)
{
    m_bitCount = bitCount;
    m_bits = std::move(bits);
    m_palette = std::move(palette);
    m_compression = compression;
}
