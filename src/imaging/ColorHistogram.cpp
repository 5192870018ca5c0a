#include "ColorHistogram.h"

#include "Parallel.h"
#include "PixelRows.h"

#include <new>

namespace {

// The occupied cells of some rows, packed in the order they turned up, and where each
// cell's sums are. Only the occupied cells take room for sums: the index is 4 bytes
// a cell, and the whole table 28 bytes a cell, the size that had to be allocated and
// cleared on every call.
class CellSums
{
public:
    CellSums() : m_slotOf(CellCount, 0) {}

    // Adds run pixels of cell c whose channels sum to r, g, b.
    void add(std::uint32_t c, std::uint32_t run, std::uint64_t r, std::uint64_t g, std::uint64_t b)
    {
        std::uint32_t& slot = m_slotOf[c];
        if (slot == 0) {
            m_sums.push_back({});
            slot = static_cast<std::uint32_t>(m_sums.size());
        }
        Sums& s = m_sums[slot - 1];
        s.count += run;
        s.sum[0] += r;
        s.sum[1] += g;
        s.sum[2] += b;
    }

    // Cell c's pixel count and sums added to cell (nothing when these rows lack it).
    void addTo(std::uint32_t c, ColorCell& cell) const
    {
        const std::uint32_t slot = m_slotOf[c];
        if (slot == 0)
            return;
        const Sums& s = m_sums[slot - 1];
        cell.count += s.count;
        for (std::size_t k = 0; k < 3; ++k)
            cell.sum[k] += s.sum[k];
    }

private:
    struct Sums {
        std::uint32_t count = 0;
        std::array<std::uint64_t, 3> sum{};
    };

    std::vector<std::uint32_t> m_slotOf;  // 1 + the cell's place in m_sums; 0: not seen
    std::vector<Sums> m_sums;
};

// Counts runs of pixels in one cell at once: screenshots are mostly flat areas, and
// neighbouring pixels of a photograph mostly share a cell.
void countRows(const Dib& dib, int begin, int end, CellSums& sums)
{
    std::vector<std::uint8_t> scratch;
    for (int y = begin; y < end; ++y) {
        const std::uint8_t* p = bgrRow(dib, y, scratch);
        std::uint32_t last = cellOf(p[2], p[1], p[0]);
        std::uint32_t run = 0;
        std::uint64_t r = 0, g = 0, b = 0;
        for (int x = 0; x < dib.width(); ++x, p += 3) {
            const std::uint32_t c = cellOf(p[2], p[1], p[0]);
            if (c != last) {
                sums.add(last, run, r, g, b);
                last = c;
                run = 0;
                r = g = b = 0;
            }
            ++run;
            r += p[2];
            g += p[1];
            b += p[0];
        }
        if (run > 0)
            sums.add(last, run, r, g, b);
    }
}

}  // namespace

DibError colorCells(const Dib& dib, std::vector<ColorCell>& cells)
{
    // MaxBytes keeps an image under 2^32 pixels, so 32-bit counts cannot overflow.
    try {
        CellSums halves[2];
        if (!splitInTwo(dib.height(), 64,
                        [&](int begin, int end) { countRows(dib, begin, end, halves[begin == 0 ? 0 : 1]); }))
            return DibError::OutOfMemory;
        // In the order of the cells' index, which the median cut's ties depend on.
        cells.clear();
        for (std::uint32_t c = 0; c < CellCount; ++c) {
            ColorCell cell;
            halves[0].addTo(c, cell);
            halves[1].addTo(c, cell);
            if (cell.count == 0)
                continue;
            cell.cell = c;
            for (std::size_t k = 0; k < 3; ++k)
                cell.mean[k] = static_cast<std::uint8_t>((cell.sum[k] + cell.count / 2) / cell.count);
            cells.push_back(cell);
        }
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    return DibError::None;
}
