// BI_RLE8 stream, rows bottom-up, every code two bytes:
//   n v       (n = 1..255) encoded run: n pixels of index v
//   00 00     end of line        00 01  end of bitmap     00 02 dx dy  delta (read only)
//   00 n ...  (n = 3..255) absolute run: n indices, then one 00 if n is odd, so that
//             every code starts on a 16-bit boundary
// Each row ends with 00 00 except the last, which ends with 00 01.
#include "Rle.h"

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
    if (const DibError error = allocateBytes(indices, stride * static_cast<std::size_t>(dib.height())); error != DibError::None)
        return error;
    std::fill(indices.begin(), indices.end(), 0);
    const Bytes& in = dib.bits();
    const std::size_t size = in.size();
    const long width = dib.width();
    long x = 0;
    long y = 0;
    std::size_t p = 0;
    while (p + 1 < size && y < dib.height()) {
        const unsigned a = in[p];
        const unsigned b = in[p + 1];
        p += 2;
        std::uint8_t* row = indices.data() + stride * static_cast<std::size_t>(y);
        if (a > 0) {
            const long n = std::clamp<long>(width - x, 0, a);
            std::memset(row + std::min(x, width), static_cast<int>(b), static_cast<std::size_t>(n));
            x += a;
        } else if (b == 0) {
            x = 0;
            ++y;
        } else if (b == 1) {
            break;
        } else if (b == 2) {
            if (p + 1 >= size)
                break;
            x += in[p];
            y += in[p + 1];
            p += 2;
        } else {
            const std::size_t available = std::min<std::size_t>(b, size - p);
            const long n = std::clamp<long>(width - x, 0, static_cast<long>(available));
            std::memcpy(row + std::min(x, width), in.data() + p, static_cast<std::size_t>(n));
            x += b;
            p += b + (b & 1);
        }
    }
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

int largestRle8Index(const Bytes& stream)
{
    int largest = -1;
    std::size_t p = 0;
    while (p + 1 < stream.size()) {
        const unsigned count = stream[p];
        const unsigned code = stream[p + 1];
        p += 2;
        if (count > 0) {
            largest = std::max(largest, static_cast<int>(code));
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            p += 2;
        } else if (code > 2) {
            const std::size_t end = std::min(stream.size(), p + code);
            for (; p < end; ++p)
                largest = std::max(largest, static_cast<int>(stream[p]));
            p += code & 1;
        }
    }
    return largest;
}
