#include "DibTable.h"
#include "Parallel.h"
#include "PixelRows.h"
#include "Resampler.h"

#include <algorithm>

namespace {

struct Span {
    int begin;  // first destination index inside the surface, relative to the rectangle
    int end;
};

Span clipSpan(int dest, int size, int surface)
{
    const long long begin = std::clamp<long long>(-static_cast<long long>(dest), 0, size);
    const long long end = std::clamp<long long>(static_cast<long long>(surface) - dest, begin, size);
    return {static_cast<int>(begin), static_cast<int>(end)};
}

// Source rows as B, G, R bytes starting at column srcX.
Resampler::RowSource bgrRows(const Dib& dib, int srcX, int srcY)
{
    return [&dib, srcX, srcY](int y, std::vector<std::uint8_t>& scratch) -> const std::uint8_t* {
        return bgrRow(dib, srcY + y, scratch) + 3 * static_cast<std::size_t>(srcX);
    };
}

// COLORONCOLOR: the source pixel under each destination pixel's centre. At 1:1 this
// is an exact copy.
bool stretchNearest(DeviceContext& dc, int destX, int destY, int destWidth, int destHeight, Span cols, Span rows,
                    const Resampler::RowSource& source, int srcWidth, int srcHeight)
{
    std::vector<std::size_t> column;
    for (int c = cols.begin; c < cols.end; ++c)
        column.push_back(3 * static_cast<std::size_t>((2LL * c + 1) * srcWidth / (2LL * destWidth)));
    return splitInTwo(rows.end - rows.begin, 32, [&](int begin, int end) {
        std::vector<std::uint8_t> scratch;
        for (int r = rows.begin + begin; r < rows.begin + end; ++r) {
            const long long sy = (2LL * r + 1) * srcHeight / (2LL * destHeight);
            const std::uint8_t* in = source(static_cast<int>(sy), scratch);
            std::uint32_t* out = dc.row(destY + r) + destX + cols.begin;
            if (srcWidth == destWidth) {
                unpackBgr(in + 3 * static_cast<std::size_t>(cols.begin), cols.end - cols.begin, out);
                continue;
            }
            for (std::size_t i = 0; i < column.size(); ++i) {
                const std::uint8_t* p = in + column[i];
                out[i] = 0xFF000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
            }
        }
    });
}

// Whole-number shrink factors: each destination pixel is the rounded mean of its
// block, in one pass. x / n is computed as x * ceil(2^32 / n) >> 32, exact for every
// block sum (below 2^18 with factors up to 32 x 32).
bool shrinkByBlocks(DeviceContext& dc, int destX, int destY, Span cols, Span rows, const Resampler::RowSource& source,
                    int fx, int fy)
{
    const std::uint64_t n = static_cast<std::uint64_t>(fx) * static_cast<std::uint64_t>(fy);
    const std::uint64_t reciprocal = ((std::uint64_t{1} << 32) + n - 1) / n;
    const int count = cols.end - cols.begin;
    return splitInTwo(rows.end - rows.begin, 16, [&](int begin, int end) {
        std::vector<const std::uint8_t*> lines(static_cast<std::size_t>(fy));
        std::vector<std::vector<std::uint8_t>> scratch(static_cast<std::size_t>(fy));
        const std::size_t blockBytes = 3 * static_cast<std::size_t>(fx);
        for (int r = rows.begin + begin; r < rows.begin + end; ++r) {
            for (std::size_t j = 0; j < lines.size(); ++j)
                lines[j] = source(r * fy + static_cast<int>(j), scratch[j])
                           + blockBytes * static_cast<std::size_t>(cols.begin);
            std::uint32_t* out = dc.row(destY + r) + destX + cols.begin;
            for (int c = 0; c < count; ++c) {
                std::uint64_t b = n / 2, g = n / 2, red = n / 2;
                for (const std::uint8_t* line : lines) {
                    const std::uint8_t* p = line + blockBytes * static_cast<std::size_t>(c);
                    for (int i = 0; i < fx; ++i, p += 3) {
                        b += p[0];
                        g += p[1];
                        red += p[2];
                    }
                }
                out[c] = 0xFF000000u | static_cast<std::uint32_t>((red * reciprocal) >> 32) << 16
                         | static_cast<std::uint32_t>((g * reciprocal) >> 32) << 8
                         | static_cast<std::uint32_t>((b * reciprocal) >> 32);
            }
        }
    });
}

bool stretchHalftone(DeviceContext& dc, int destX, int destY, int destWidth, int destHeight, Span cols, Span rows,
                     const Resampler::RowSource& source, int srcWidth, int srcHeight)
{
    const int fx = srcWidth / destWidth;
    const int fy = srcHeight / destHeight;
    if (fx * destWidth == srcWidth && fy * destHeight == srcHeight && fx <= 32 && fy <= 32) {
        return shrinkByBlocks(dc, destX, destY, cols, rows, source, fx, fy);
    }
    const AxisTaps columnTaps = axisTaps(srcWidth, destWidth, cols.begin, cols.end);
    const AxisTaps rowTaps = axisTaps(srcHeight, destHeight, rows.begin, rows.end);
    return Resampler::resample(source, columnTaps, rowTaps, [&](int y, const std::uint8_t* bgr) {
        unpackBgr(bgr, cols.end - cols.begin, dc.row(destY + rows.begin + y) + destX + cols.begin);
    });
}

bool validSource(const Dib& dib, int srcX, int srcY, int srcWidth, int srcHeight)
{
    return srcX >= 0 && srcY >= 0 && srcWidth > 0 && srcHeight > 0 && srcWidth <= dib.width() - srcX
           && srcHeight <= dib.height() - srcY;
}

DibStatus stretchDib(DeviceContext& dc, int destX, int destY, int destWidth, int destHeight, DIBHandle handle, int srcX,
                     int srcY, int srcWidth, int srcHeight, std::uint32_t rop)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    if (rop != SRCCOPY || destWidth <= 0 || destHeight <= 0 || destWidth > MaxSide || destHeight > MaxSide)
        return {DibError::BadArgument};
    std::unique_ptr<Dib> decoded;
    const Dib* plain = nullptr;
    if (const DibError error = uncompressedView(*lease->dib, decoded, plain); error != DibError::None)
        return {error};
    if (!validSource(*plain, srcX, srcY, srcWidth, srcHeight))
        return {DibError::BadArgument};
    const Span cols = clipSpan(destX, destWidth, dc.width());
    const Span rows = clipSpan(destY, destHeight, dc.height());
    if (cols.begin == cols.end || rows.begin == rows.end)
        return {};
    const Resampler::RowSource source = bgrRows(*plain, srcX, srcY);
    const bool exact = destWidth == srcWidth && destHeight == srcHeight;
    if (exact || dc.stretchMode != HALFTONE) {
        if (!stretchNearest(dc, destX, destY, destWidth, destHeight, cols, rows, source, srcWidth, srcHeight))
            return {DibError::OutOfMemory};
        return {};
    }
    if (!stretchHalftone(dc, destX, destY, destWidth, destHeight, cols, rows, source, srcWidth, srcHeight))
        return {DibError::OutOfMemory};
    return {};
}

}  // namespace

DibStatus DIBStretchDIBits(DeviceContext& dc, int destX, int destY, int destWidth, int destHeight, DIBHandle handle,
                           int srcX, int srcY, int srcWidth, int srcHeight, std::uint32_t rop)
{
    return withoutThrowing([&] {
        return stretchDib(dc, destX, destY, destWidth, destHeight, handle, srcX, srcY, srcWidth, srcHeight, rop);
    });
}
