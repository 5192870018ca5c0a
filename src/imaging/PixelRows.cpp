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
    forEachPixel(dib, y, [out](int x, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        out[3 * x] = r;
        out[3 * x + 1] = g;
        out[3 * x + 2] = b;
    });
}

void packBgr(const std::uint32_t* argb, int count, std::uint8_t* bgr)
{
    int i = 0;
    for (; i + 4 <= count; i += 4, argb += 4, bgr += 12) {
        const std::uint32_t words[3] = {(argb[0] & 0xFFFFFFu) | argb[1] << 24,
                                        ((argb[1] >> 8) & 0xFFFFu) | argb[2] << 16,
                                        ((argb[2] >> 16) & 0xFFu) | argb[3] << 8};
        std::memcpy(bgr, words, sizeof words);
    }
    for (; i < count; ++i, ++argb, bgr += 3) {
        bgr[0] = static_cast<std::uint8_t>(*argb);
        bgr[1] = static_cast<std::uint8_t>(*argb >> 8);
        bgr[2] = static_cast<std::uint8_t>(*argb >> 16);
    }
}

void unpackBgr(const std::uint8_t* bgr, int count, std::uint32_t* argb)
{
    int i = 0;
    for (; i + 4 <= count; i += 4, argb += 4, bgr += 12) {
        std::uint32_t words[3];
        std::memcpy(words, bgr, sizeof words);
        argb[0] = 0xFF000000u | (words[0] & 0xFFFFFFu);
        argb[1] = 0xFF000000u | words[0] >> 24 | (words[1] & 0xFFFFu) << 8;
        argb[2] = 0xFF000000u | words[1] >> 16 | (words[2] & 0xFFu) << 16;
        argb[3] = 0xFF000000u | words[2] >> 8;
    }
    for (; i < count; ++i, bgr += 3)
        *argb++ = 0xFF000000u | (std::uint32_t{bgr[2]} << 16) | (std::uint32_t{bgr[1]} << 8) | bgr[0];
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
