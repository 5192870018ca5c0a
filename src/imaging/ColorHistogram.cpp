#include "ColorHistogram.h"

#include "Parallel.h"
#include "PixelRows.h"

#include <new>

namespace {

struct CellSums {
    std::vector<std::uint32_t> count;
    std::vector<std::array<std::uint64_t, 3>> sum;
};

// Adds run pixels of colour 0xRRGGBB (nothing when run is 0).
void add(CellSums& sums, std::uint32_t colour, std::uint32_t run)
{
    const auto r = static_cast<std::uint8_t>(colour >> 16);
    const auto g = static_cast<std::uint8_t>(colour >> 8);
    const auto b = static_cast<std::uint8_t>(colour);
    const std::uint32_t c = cellOf(r, g, b);
    sums.count[c] += run;
    sums.sum[c][0] += std::uint64_t{run} * r;
    sums.sum[c][1] += std::uint64_t{run} * g;
    sums.sum[c][2] += std::uint64_t{run} * b;
}

// Counts runs of equal pixels at once: screenshots are mostly flat areas.
void countRows(const Dib& dib, int begin, int end, CellSums& sums)
{
    std::vector<std::uint8_t> scratch;
    for (int y = begin; y < end; ++y) {
        const std::uint8_t* p = bgrRow(dib, y, scratch);
        std::uint32_t run = 0;
        std::uint32_t last = 0xFFFFFFFFu;
        for (int x = 0; x < dib.width(); ++x, p += 3) {
            const std::uint32_t colour = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
            if (colour == last) {
                ++run;
                continue;
            }
            add(sums, last, run);
            last = colour;
            run = 1;
        }
        add(sums, last, run);
    }
}

}  // namespace

DibError colorCells(const Dib& dib, std::vector<ColorCell>& cells)
{
    // MaxBytes keeps an image under 2^32 pixels, so 32-bit counts cannot overflow.
    CellSums halves[2];
    try {
        for (CellSums& h : halves) {
            h.count.assign(CellCount, 0);
            h.sum.assign(CellCount, {});
        }
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    if (!splitInTwo(dib.height(), 64, [&](int begin, int end) { countRows(dib, begin, end, halves[begin == 0 ? 0 : 1]); }))
        return DibError::OutOfMemory;
    try {
        cells.clear();
        for (std::uint32_t c = 0; c < CellCount; ++c) {
            const std::uint64_t n = std::uint64_t{halves[0].count[c]} + halves[1].count[c];
            if (n == 0)
                continue;
            ColorCell cell;
            cell.cell = c;
            cell.count = n;
            for (int k = 0; k < 3; ++k) {
                cell.sum[k] = halves[0].sum[c][k] + halves[1].sum[c][k];
                cell.mean[k] = static_cast<std::uint8_t>((cell.sum[k] + n / 2) / n);
            }
            cells.push_back(cell);
        }
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    return DibError::None;
}
