#include "ColorHistogram.h"

#include "Parallel.h"
#include "PixelRows.h"

#include <bit>
#include <new>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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
    std::vector<ColorRun> row(colorRunRoom(dib.width()));
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

// The runs' starting columns made their lengths.
void startsToLengths(ColorRun* runs, std::size_t count, int width)
{
    runs[count].length = static_cast<std::uint32_t>(width);
    for (std::size_t i = 0; i < count; ++i)
        runs[i].length = runs[i + 1].length - runs[i].length;
}

// Pixels x .. width - 1 as run starts after runs[0 .. count), the pixel before x having
// been previous. No branch depends on the pixels: each pixel is written as the start
// of the next run and kept only if it starts one, so a photograph's short runs cost no
// mispredicted jumps.
std::size_t findStarts(const std::uint8_t* bgr, int x, int width, std::uint32_t previous, ColorRun* runs,
                       std::size_t count)
{
    forEachRgb(bgr + 3 * static_cast<std::size_t>(x), width - x, [&](int i, std::uint32_t rgb) {
        runs[count] = {rgb, static_cast<std::uint32_t>(x + i)};
        count += rgb != previous ? 1 : 0;
        previous = rgb;
    });
    return count;
}

std::size_t colorRunsPlain(const std::uint8_t* bgr, int width, ColorRun* runs)
{
    const std::size_t count = findStarts(bgr, 0, width, 0xFFFFFFFFu, runs, 0);
    startsToLengths(runs, count, width);
    return count;
}

#if defined(__x86_64__)

// For each mask of run starts among eight pixels, the lanes of those pixels first.
struct StartLanes {
    std::uint8_t lanes[256][8]{};
    constexpr StartLanes()
    {
        for (unsigned mask = 0; mask < 256; ++mask) {
            unsigned k = 0;
            for (std::uint8_t lane = 0; lane < 8; ++lane)
                if (mask & (1u << lane))
                    lanes[mask][k++] = lane;
        }
    }
};
constexpr StartLanes StartLaneTable;

// Eight pixels a step: spread to eight 32-bit lanes, compared with the lanes one pixel
// back, and the run starts among them moved to the front with their columns and
// stored eight at a time (the unused ones are overwritten by the next step).
__attribute__((target("avx2,popcnt"))) std::size_t colorRunsWide(const std::uint8_t* bgr, int width, ColorRun* runs)
{
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1, 3, 4, 5,
                                            -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i backOne = _mm256_setr_epi32(7, 0, 1, 2, 3, 4, 5, 6);
    const __m256i last = _mm256_set1_epi32(7);
    __m256i previous = _mm256_set1_epi32(-1);  // no pixel's colour
    std::size_t count = 0;
    int x = 0;
    // Each step reads four bytes past its eight pixels: it stops while they are in the row.
    for (; x + 10 <= width; x += 8) {
        const std::uint8_t* at = bgr + 3 * static_cast<std::size_t>(x);
        const __m256i bytes =
            _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(at + 12), reinterpret_cast<const __m128i*>(at));
        const __m256i rgb = _mm256_shuffle_epi8(bytes, spread);
        const __m256i before = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(rgb, backOne), previous, 0x01);
        const auto same =
            static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(rgb, before))));
        const unsigned starts = ~same & 0xFFu;
        const __m256i lanes =
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(StartLaneTable.lanes[starts])));
        const __m256i colours = _mm256_permutevar8x32_epi32(rgb, lanes);
        const __m256i columns = _mm256_add_epi32(lanes, _mm256_set1_epi32(x));
        const __m256i low = _mm256_unpacklo_epi32(colours, columns);
        const __m256i high = _mm256_unpackhi_epi32(colours, columns);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(runs + count), _mm256_permute2x128_si256(low, high, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(runs + count + 4), _mm256_permute2x128_si256(low, high, 0x31));
        count += static_cast<std::size_t>(_mm_popcnt_u32(starts));
        previous = _mm256_permutevar8x32_epi32(rgb, last);
    }
    const auto before = static_cast<std::uint32_t>(_mm256_cvtsi256_si32(previous));
    count = findStarts(bgr, x, width, before, runs, count);
    startsToLengths(runs, count, width);
    return count;
}

#endif

}  // namespace

std::size_t colorRuns(const std::uint8_t* bgr, int width, ColorRun* runs)
{
#if defined(__x86_64__)
    static const auto chosen =
        __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") ? colorRunsWide : colorRunsPlain;
    return chosen(bgr, width, runs);
#else
    return colorRunsPlain(bgr, width, runs);
#endif
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
