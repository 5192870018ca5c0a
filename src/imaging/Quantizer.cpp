#include "ColorHistogram.h"
#include "DibTable.h"
#include "ExactColors.h"
#include "IndexRows.h"
#include "MedianCut.h"
#include "PaletteMatcher.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <array>

namespace {

// Writes rows [begin, end), in the order they are stored, from the cells of their
// pixels; cellIndex gives each occupied cell's palette index.
void mapRows(const Dib& dib, int begin, int end, const Bytes& cellIndex, Bytes& bits)
{
    std::vector<std::uint8_t> scratch;
    for (int y = end - 1; y >= begin; --y) {
        std::uint8_t* out = indexRow(dib, bits, y);
        forEachRgb(bgrRow(dib, y, scratch), dib.width(),
                   [&](int x, std::uint32_t rgb) { out[x] = cellIndex[cellOf(rgb)]; });
    }
}

// Writes part's rows from its runs and, past them, from the cells of their pixels;
// cellIndex gives each occupied cell's palette index.
void mapPart(const Dib& dib, const RowRuns& part, const Bytes& cellIndex, Bytes& bits)
{
    std::vector<std::uint8_t> slotIndex;
    slotIndex.reserve(part.cellOfSlot.size());
    for (const std::uint32_t cell : part.cellOfSlot)
        slotIndex.push_back(cellIndex[cell]);
    const std::uint32_t* run = part.runs.data();
    for (int y = part.end - 1; y >= part.recordedFrom; --y) {
        std::uint8_t* out = indexRow(dib, bits, y);
        for (int x = 0; x < dib.width(); ++run) {
            const auto length = static_cast<int>(*run & (RowRuns::LongestRun - 1)) + 1;
            fillRun(out, x, length, dib.width(), slotIndex[*run >> RowRuns::LengthBits]);
            x += length;
        }
    }
    mapRows(dib, part.begin, part.recordedFrom, cellIndex, bits);
}

std::vector<RgbQuad> quads(const std::vector<std::array<std::uint8_t, 3>>& colors)
{
    std::vector<RgbQuad> palette;
    for (const auto& c : colors)
        palette.push_back({c[2], c[1], c[0], 0});
    return palette;
}

DibError reduce(Dib& dib, std::uint32_t methodFlags)
{
    Bytes bits;
    if (const DibError error = allocateIndices(dib, bits); error != DibError::None)
        return error;
    std::vector<std::array<std::uint8_t, 3>> exact;
    if (const DibError error = exactIndices(dib, bits, exact); error != DibError::None)
        return error;
    if (!exact.empty()) {
        dib.replace(8, std::move(bits), quads(exact));
        return DibError::None;
    }
    std::vector<ColorCell> cells;
    std::array<RowRuns, 2> parts;
    if (const DibError error = colorCells(dib, cells, parts); error != DibError::None)
        return error;
    const auto palette = medianCut(cells, methodFlags, MaxColors);
    const PaletteMatcher matcher(palette, methodFlags);
    // Only the occupied cells' entries are ever written or read.
    Bytes table;
    if (const DibError error = allocateBytes(table, CellCount); error != DibError::None)
        return error;
    // Cells in the order of their index are mostly neighbours, and so are their entries.
    const auto matchCells = [&](int begin, int end) {
        std::uint8_t last = 0;
        for (int i = begin; i < end; ++i) {
            const ColorCell& c = cells[static_cast<std::size_t>(i)];
            last = matcher.nearest(c.mean[0], c.mean[1], c.mean[2], last);
            table[c.cell] = last;
        }
    };
    if (!splitInTwo(static_cast<int>(cells.size()), 1024, matchCells))
        return DibError::OutOfMemory;
    const int partCount = parts[1].begin < parts[1].end ? 2 : 1;
    if (!forEachPart(partCount, [&](int part) { mapPart(dib, parts[static_cast<std::size_t>(part)], table, bits); }))
        return DibError::OutOfMemory;
    dib.replace(8, std::move(bits), quads(palette));
    return DibError::None;
}

}  // namespace

// Median cut to at most 256 colours, no dithering; an image with 256 colours or fewer
// keeps them exactly. reserved must be 0. An 8-bit image stays as it is.
DibStatus DIBto8Bit(DIBHandle handle, std::uint32_t methodFlags, std::uint32_t reserved)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    if (reserved != 0)
        return {DibError::BadArgument};
    Dib& dib = *lease->dib;
    if (dib.bitCount() == 8)
        return {};
    try {
        return {reduce(dib, methodFlags)};
    } catch (const std::bad_alloc&) {
        return {DibError::OutOfMemory};
    }
}
