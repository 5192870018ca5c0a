#include "PixelRows.h"

#include "Rle.h"

#include <cstring>

namespace {

template<class Put>
void forEachPixel(const Dib& dib, int y, const Put& put)
{
    const std::uint8_t* row = dib.rowFromTop(y);
    const int width = dib.width();
    if (dib.bitCount() == 24) {
        for (int x = 0; x < width; ++x, row += 3)
            put(x, row[2], row[1], row[0]);
    } else if (dib.bitCount() == 16) {
        for (int x = 0; x < width; ++x, row += 2) {
            const unsigned v = row[0] | (unsigned{row[1]} << 8);
            put(x, expand5((v >> 10) & 31), expand5((v >> 5) & 31), expand5(v & 31));
        }
    } else {
        const auto& palette = dib.palette();
        for (int x = 0; x < width; ++x) {
            const std::size_t index = row[x];
            const RgbQuad q = index < palette.size() ? palette[index] : RgbQuad{};
            put(x, q[2], q[1], q[0]);
        }
    }
}

}  // namespace

void readRowArgb(const Dib& dib, int y, std::uint32_t* out)
{
    forEachPixel(dib, y, [out](int x, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        out[x] = 0xFF000000u | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
    });
}

void readRowBgr(const Dib& dib, int y, std::uint8_t* out)
{
    forEachPixel(dib, y, [out](int x, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        out[3 * x] = b;
        out[3 * x + 1] = g;
        out[3 * x + 2] = r;
    });
}

const std::uint8_t* bgrRow(const Dib& dib, int y, std::vector<std::uint8_t>& scratch)
{
    if (dib.bitCount() == 24)
        return dib.rowFromTop(y);
    scratch.resize(3 * static_cast<std::size_t>(dib.width()));
    readRowBgr(dib, y, scratch.data());
    return scratch.data();
}

void readRowRgb(const Dib& dib, int y, std::uint8_t* out)
{
    if (dib.bitCount() == 24) {
        swapRedBlue(dib.rowFromTop(y), dib.width(), out);
        return;
    }
    forEachPixel(dib, y, [out](int x, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        out[3 * x] = r;
        out[3 * x + 1] = g;
        out[3 * x + 2] = b;
    });
}

DibError uncompressedView(const Dib& dib, std::unique_ptr<Dib>& holder, const Dib*& view)
{
    view = &dib;
    if (dib.compression() != BI_RLE8)
        return DibError::None;
    Bytes indices;
    if (const DibError error = decodeRle8(dib, indices); error != DibError::None)
        return error;
    try {
        holder = std::make_unique<Dib>(dib.width(), dib.height(), 8, std::move(indices), dib.palette());
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    view = holder.get();
    return DibError::None;
}
