#include "ColorHistogram.h"

#include "Parallel.h"
#include "PixelRows.h"

#include <bit>
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

    // Adds run pixels of colour rgb (0xRRGGBB); returns the slot of its cell.
    std::uint32_t add(std::uint32_t rgb, std::uint32_t run)
    {
        const std::uint32_t c = cellOf(rgb);
        std::uint32_t& slot = m_slotOf[c];
        if (slot == 0) {
            m_sums.push_back({c});
            slot = static_cast<std::uint32_t>(m_sums.size());
        }
        Sums& s = m_sums[slot - 1];
        s.count += run;
        s.sum[0] += std::uint64_t{run} * (rgb >> 16);
        s.sum[1] += std::uint64_t{run} * ((rgb >> 8) & 0xFF);
        s.sum[2] += std::uint64_t{run} * (rgb & 0xFF);
        return slot - 1;
    }

    [[nodiscard]] std::vector<std::uint32_t> cellOfSlot() const
    {
        std::vector<std::uint32_t> cells;
        cells.reserve(m_sums.size());
        for (const Sums& s : m_sums)
            cells.push_back(s.cell);
        return cells;
    }

    // Sets the bits of the occupied cells, one bit a cell.
    void markOccupied(std::vector<std::uint64_t>& bits) const
    {
        for (const Sums& s : m_sums)
            bits[s.cell / 64] |= std::uint64_t{1} << (s.cell % 64);
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
        std::uint32_t cell = 0;
        std::uint32_t count = 0;
        std::array<std::uint64_t, 3> sum{};
    };

    std::vector<std::uint32_t> m_slotOf;  // 1 + the cell's place in m_sums; 0: not seen
    std::vector<Sums> m_sums;
};

// Room for the runs of a part up to a third of its pixels (4 bytes a run): a desktop of
// windows over a photograph has about one run in four pixels. A photograph alone fills
// it within its first rows, and the rest are read again rather than held in more memory
// than the image's own. The room is taken once, not cleared, and only the part that is
// written is ever touched.
std::size_t reserveRuns(const Dib& dib, RowRuns& part)
{
    const std::size_t budget = static_cast<std::size_t>(dib.width()) * static_cast<std::size_t>(part.end - part.begin) / 3;
    try {
        part.runs.resize(budget);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return budget;
}

// Keeps a run of pixels in slot's cell at runs[kept], in pieces of at most LongestRun;
// returns the runs' new number.
std::size_t keepRun(RowRuns::Runs& runs, std::size_t kept, std::uint32_t slot, std::uint32_t length)
{
    for (; length > RowRuns::LongestRun; length -= RowRuns::LongestRun)
        runs[kept++] = slot << RowRuns::LengthBits | (RowRuns::LongestRun - 1);
    runs[kept++] = slot << RowRuns::LengthBits | (length - 1);
    return kept;
}

// A row's runs are found first and counted after: the count's lookups, in photographs
// one or two a pixel, then follow each other with no mispredicted comparison between
// them and overlap. The rows are read in the order they are stored.
void countRows(const Dib& dib, RowRuns& part, CellSums& sums)
{
    std::vector<std::uint8_t> scratch;
    std::vector<ColorRun> row(static_cast<std::size_t>(dib.width()) + 1);
    const std::size_t budget = reserveRuns(dib, part);
    std::size_t kept = 0;
    part.recordedFrom = part.end;
    for (int y = part.end - 1; y >= part.begin; --y) {
        const std::size_t count = colorRuns(bgrRow(dib, y, scratch), dib.width(), row.data());
        const std::size_t pieces = count + static_cast<std::size_t>(dib.width()) / RowRuns::LongestRun;
        const bool keep = part.recordedFrom == y + 1 && kept + pieces <= budget;
        if (keep)
            part.recordedFrom = y;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t slot = sums.add(row[i].rgb, row[i].length);
            if (keep)
                kept = keepRun(part.runs, kept, slot, row[i].length);
        }
    }
    part.runs.resize(kept);
    part.cellOfSlot = sums.cellOfSlot();
}

}  // namespace

// No branch depends on the pixels: each pixel is written as the start of the next run
// and kept only if it starts one, so a photograph's short runs cost no mispredicted
// jumps.
std::size_t colorRuns(const std::uint8_t* bgr, int width, ColorRun* runs)
{
    std::size_t count = 0;
    std::uint32_t previous = 0xFFFFFFFFu;  // no pixel's colour
    forEachRgb(bgr, width, [&](int x, std::uint32_t rgb) {
        runs[count] = {rgb, static_cast<std::uint32_t>(x)};
        count += rgb != previous ? 1 : 0;
        previous = rgb;
    });
    // From starts to lengths.
    runs[count].length = static_cast<std::uint32_t>(width);
    for (std::size_t i = 0; i < count; ++i)
        runs[i].length = runs[i + 1].length - runs[i].length;
    return count;
}

DibError colorCells(const Dib& dib, std::vector<ColorCell>& cells, std::array<RowRuns, 2>& parts)
{
    // MaxBytes keeps an image under 2^32 pixels, so 32-bit counts cannot overflow.
    try {
        CellSums halves[2];
        const bool counted = splitInTwo(dib.height(), 64, [&](int begin, int end) {
            const std::size_t half = begin == 0 ? 0 : 1;
            parts[half].begin = begin;
            parts[half].end = end;
            countRows(dib, parts[half], halves[half]);
        });
        if (!counted)
            return DibError::OutOfMemory;
        // In the order of the cells' index, however the rows were shared out.
        std::vector<std::uint64_t> occupied(CellCount / 64, 0);
        halves[0].markOccupied(occupied);
        halves[1].markOccupied(occupied);
        cells.clear();
        for (std::size_t word = 0; word < occupied.size(); ++word)
            for (std::uint64_t bits = occupied[word]; bits != 0; bits &= bits - 1) {
                ColorCell cell;
                cell.cell = static_cast<std::uint32_t>(64 * word + static_cast<std::size_t>(std::countr_zero(bits)));
                halves[0].addTo(cell.cell, cell);
                halves[1].addTo(cell.cell, cell);
                for (std::size_t k = 0; k < 3; ++k)
                    cell.mean[k] = static_cast<std::uint8_t>((cell.sum[k] + cell.count / 2) / cell.count);
                cells.push_back(cell);
            }
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    return DibError::None;
}
