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
#include <bit>
#include <cstring>
#include <new>

namespace {

// Where a row's codes go: at most two bytes a pixel (a pixel alone costs a two-byte
// run, an absolute run three bytes more than its pixels and at least three pixels)
// and the end of line, written through a pointer into room taken once per part.
class RowCodes
{
public:
    explicit RowCodes(int width) : m_bytes(2 * static_cast<std::size_t>(width) + 2) {}

    void literal(const std::uint8_t* start, int length)
    {
        if (length >= 3) {
            put(0, static_cast<std::uint8_t>(length));
            std::memcpy(m_end, start, static_cast<std::size_t>(length));
            m_end += length;
            if (length & 1)
                *m_end++ = 0;
            return;
        }
        for (int i = 0; i < length; ++i)
            put(1, start[i]);
    }
    void put(std::uint8_t first, std::uint8_t second)
    {
        m_end[0] = first;
        m_end[1] = second;
        m_end += 2;
    }
    // Appends the row's codes to out and starts the next row.
    void moveTo(Bytes& out)
    {
        out.insert(out.end(), m_bytes.data(), m_end);
        m_end = m_bytes.data();
    }

private:
    Bytes m_bytes;
    std::uint8_t* m_end = m_bytes.data();
};

// How many bytes from row[x] on repeat it, at most 255: eight compared at once, the
// first that differs found from their difference (the rows are little-endian).
int runAt(const std::uint8_t* row, int x, int width)
{
    const int limit = std::min(width - x, 255);
    const std::uint64_t repeated = 0x0101010101010101u * row[x];
    int run = 1;
    for (; run + 8 <= limit; run += 8) {
        std::uint64_t bytes = 0;
        std::memcpy(&bytes, row + x + run, sizeof bytes);
        if (const std::uint64_t differ = bytes ^ repeated; differ != 0)
            return run + std::countr_zero(differ) / 8;
    }
    while (run < limit && row[x + run] == row[x])
        ++run;
    return run;
}

void encodeRow(const std::uint8_t* row, int width, RowCodes& out)
{
    int literalStart = 0;
    int literalLength = 0;
    int x = 0;
    while (x < width) {
        const int run = runAt(row, x, width);
        if (run >= 3 || (run == 2 && literalLength == 0)) {
            out.literal(row + literalStart, literalLength);
            literalLength = 0;
            out.put(static_cast<std::uint8_t>(run), row[x]);
        } else {
            if (literalLength + run > 255) {
                out.literal(row + literalStart, literalLength);
                literalLength = 0;
            }
            if (literalLength == 0)
                literalStart = x;
            literalLength += run;
        }
        x += run;
    }
    out.literal(row + literalStart, literalLength);
    out.put(0, 0);
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
        RowCodes codes(dib.width());
        for (int storedRow = begin; storedRow < end; ++storedRow) {
            encodeRow(dib.bits().data() + stride * static_cast<std::size_t>(storedRow), dib.width(), codes);
            codes.moveTo(out);
        }
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
