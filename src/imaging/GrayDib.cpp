#include "DibTable.h"
#include "Luma.h"
#include "Parallel.h"
#include "PixelRows.h"

namespace {

// Rounded (a * (255 - s) + y * s) / 255.
[[nodiscard]] std::uint8_t mix(unsigned a, unsigned y, unsigned s)
{
    const unsigned v = a * (255 - s) + y * s + 128;
    return static_cast<std::uint8_t>((v + (v >> 8)) >> 8);
}

void grayTriple(std::uint8_t* bgr, unsigned s)
{
    const unsigned y = luma8(bgr[2], bgr[1], bgr[0]);
    bgr[0] = mix(bgr[0], y, s);
    bgr[1] = mix(bgr[1], y, s);
    bgr[2] = mix(bgr[2], y, s);
}

void grayRow24(std::uint8_t* row, int width, unsigned s)
{
    if (s == 255) {
        for (int x = 0; x < width; ++x, row += 3) {
            const auto y = static_cast<std::uint8_t>(luma8(row[2], row[1], row[0]));
            row[0] = row[1] = row[2] = y;
        }
        return;
    }
    for (int x = 0; x < width; ++x, row += 3)
        grayTriple(row, s);
}

void grayRow16(std::uint8_t* row, int width, unsigned s)
{
    for (int x = 0; x < width; ++x, row += 2) {
        const unsigned v = row[0] | (unsigned{row[1]} << 8);
        std::uint8_t bgr[3] = {expand5(v & 31), expand5((v >> 5) & 31), expand5((v >> 10) & 31)};
        grayTriple(bgr, s);
        const unsigned w = (reduce5(bgr[2]) << 10) | (reduce5(bgr[1]) << 5) | reduce5(bgr[0]);
        row[0] = static_cast<std::uint8_t>(w);
        row[1] = static_cast<std::uint8_t>(w >> 8);
    }
}

}  // namespace

// Strength 0 leaves the image as it is, 255 makes every pixel its luma; between, each
// channel moves linearly toward the luma. 8-bit images (RLE8 too) change only their
// palette.
DibStatus GrayDIB(DIBHandle handle, int strength)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    if (strength < 0 || strength > 255)
        return {DibError::BadArgument};
    Dib& dib = *lease->dib;
    const auto s = static_cast<unsigned>(strength);
    if (s == 0)
        return {};
    if (dib.bitCount() == 8) {
        for (RgbQuad& q : dib.palette())
            grayTriple(q.data(), s);
        return {};
    }
    const std::size_t stride = dib.stride();
    const auto rows = [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            std::uint8_t* row = dib.bits().data() + stride * static_cast<std::size_t>(y);
            if (dib.bitCount() == 24)
                grayRow24(row, dib.width(), s);
            else
                grayRow16(row, dib.width(), s);
        }
    };
    if (!splitInTwo(dib.height(), 64, rows))
        return {DibError::OutOfMemory};
    return {};
}
