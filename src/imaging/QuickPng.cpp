#include "Dib.h"
#include "ZlibStream.h"
#include "dibimage.h"

#include <libdeflate.h>

#include <array>
#include <cstring>

namespace {

// libdeflate's fastest level: a desktop's unfiltered rows still pack to a sixth.
constexpr int QuickLevel = 1;
constexpr std::array<std::uint8_t, 8> Signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void putBigEndian(std::vector<std::uint8_t>& png, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        png.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>& png, const char* type, const std::uint8_t* data, std::size_t size)
{
    putBigEndian(png, static_cast<std::uint32_t>(size));
    const std::size_t typeAt = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data, data + size);
    putBigEndian(png, libdeflate_crc32(0, png.data() + typeAt, size + 4));
}

// Each row with the Up filter (type 2: each byte less the one above it): a desktop's
// rows repeat the ones above them, so most bytes become zero runs that deflate packs
// small and fast.
void rawRows(const std::uint32_t* pixels, int width, int height, std::size_t stride, std::uint8_t* raw)
{
    const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + stride * static_cast<std::size_t>(y);
        std::uint8_t* out = raw + rowBytes * static_cast<std::size_t>(y);
        out[0] = y == 0 ? 0 : 2;
        for (int x = 0; x < width; ++x) {
            out[1 + 3 * x] = static_cast<std::uint8_t>(row[x] >> 16);
            out[2 + 3 * x] = static_cast<std::uint8_t>(row[x] >> 8);
            out[3 + 3 * x] = static_cast<std::uint8_t>(row[x]);
        }
    }
    for (int y = height - 1; y > 0; --y) {
        std::uint8_t* out = raw + rowBytes * static_cast<std::size_t>(y);
        const std::uint8_t* above = out - rowBytes;
        for (std::size_t i = 1; i < rowBytes; ++i)
            out[i] = static_cast<std::uint8_t>(out[i] - above[i]);
    }
}

}  // namespace

DibStatus QuickPng(const std::uint32_t* pixels, int width, int height, std::size_t stride,
                   std::vector<std::uint8_t>& png)
{
    std::size_t bytes = 0;
    if (const DibError error = dibImageBytes(width, height, 24, bytes); error != DibError::None)
        return {error};
    Bytes raw;
    if (const DibError error =
            allocateBytes(raw, static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
        error != DibError::None)
        return {error};
    rawRows(pixels, width, height, stride, raw.data());
    Bytes packed;
    if (const DibError error = zlibCompress(raw.data(), raw.size(), QuickLevel, packed); error != DibError::None)
        return {error};
    std::array<std::uint8_t, 13> header{};
    for (int i = 0; i < 4; ++i) {
        header[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (24 - 8 * i));
        header[static_cast<std::size_t>(4 + i)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (24 - 8 * i));
    }
    header[8] = 8;  // bits per sample
    header[9] = 2;  // colour type: RGB
    try {
        png.assign(Signature.begin(), Signature.end());
        png.reserve(Signature.size() + 25 + packed.size() + 12 + 12);
        putChunk(png, "IHDR", header.data(), header.size());
        putChunk(png, "IDAT", packed.data(), packed.size());
        putChunk(png, "IEND", nullptr, 0);
    } catch (const std::bad_alloc&) {
        return {DibError::OutOfMemory};
    }
    return {};
}
