// BI_RLE8 stream, rows bottom-up, every code two bytes:
//   n v       (n = 1..255) encoded run: n pixels of index v
//   00 00     end of line        00 01  end of bitmap     00 02 dx dy  delta (read only)
//   00 n ...  (n = 3..255) absolute run: n indices, then one 00 if n is odd, so that
//             every code starts on a 16-bit boundary
// Each row ends with 00 00 except the last, which ends with 00 01.
#include "Rle.h"

#include "BmpRle.h"
#include "DibTable.h"
#include "Parallel.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

void flushLiteral(const std::uint8_t* start, int length, Bytes& out)
{
    if (length >= 3) {
        out.push_back(0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), start, start + length);
        if (length & 1)
            out.push_back(0);
        return;
    }
    for (int i = 0; i < length; ++i) {
        out.push_back(1);
        out.push_back(start[i]);
    }
}

void encodeRow(const std::uint8_t* row, int width, Bytes& out)
{
    int literalStart = 0;
    int literalLength = 0;
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x])
            ++run;
        if (run >= 3 || (run == 2 && literalLength == 0)) {
            flushLiteral(row + literalStart, literalLength, out);
            literalLength = 0;
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(row[x]);
        } else {
            if (literalLength + run > 255) {
                flushLiteral(row + literalStart, literalLength, out);
                literalLength = 0;
            }
            if (literalLength == 0)
                literalStart = x;
            literalLength += run;
        }
        x += run;
    }
    flushLiteral(row + literalStart, literalLength, out);
    out.push_back(0);
    out.push_back(0);
}

}  // namespace

DibError encodeRle8(const Dib& dib, Bytes& stream)
{
    const int height = dib.height();
    const std::size_t stride = dib.stride();
    Bytes halves[2];
    const auto rows = [&](int begin, int end) {
        Bytes& out = halves[begin == 0 ? 0 : 1];
        out.reserve(stride * static_cast<std::size_t>(end - begin) / 2 + 64);
        for (int storedRow = begin; storedRow < end; ++storedRow)
            encodeRow(dib.bits().data() + stride * static_cast<std::size_t>(storedRow), dib.width(), out);
    };
    if (!splitInTwo(height, 64, rows))
        return DibError::OutOfMemory;
    try {
        stream = std::move(halves[0]);
        stream.insert(stream.end(), halves[1].begin(), halves[1].end());
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    stream.back() = 1;  // the last row's end of line becomes the end of bitmap
    return DibError::None;
}

DibError decodeRle8(const Dib& dib, Bytes& indices)
{
    const std::size_t stride = dibStride(dib.width(), 8);
    if (const DibError error = allocateBytes(indices, stride * static_cast<std::size_t>(dib.height()));
        error != DibError::None)
        return error;
    std::fill(indices.begin(), indices.end(), 0);
    // The library's own streams are whole.
    static_cast<void>(drawRle(dib.bits(), 8, dib.width(), dib.height(), indices.data(), stride));
    return DibError::None;
}

namespace {

DibStatus compressRle(DIBHandle handle)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    Dib& dib = *lease->dib;
    if (dib.compression() == BI_RLE8)
        return {};
    if (dib.bitCount() != 8)
        return {DibError::WrongDepth};
    Bytes stream;
    if (const DibError error = encodeRle8(dib, stream); error != DibError::None)
        return {error};
    dib.replace(8, std::move(stream), dib.palette(), BI_RLE8);
    return {};
}

}  // namespace

DibStatus DIBtoRLE(DIBHandle handle)
{
    return withoutThrowing([&] { return compressRle(handle); });
}
