#include "ColorHistogram.h"
#include "DibTable.h"
#include "MedianCut.h"
#include "PaletteMatcher.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <array>
#include <cstring>

namespace {

constexpr int MaxColors = 256;

// The colours of an image that has at most 256 of them, in order of first appearance.
class ExactColors
{
public:
    // Returns false as soon as a 257th colour turns up.
    bool collect(const Dib& dib)
    {
        std::vector<std::uint8_t> scratch;
        std::uint32_t last = 0;
        for (int y = 0; y < dib.height(); ++y) {
            const std::uint8_t* p = bgrRow(dib, y, scratch);
            for (int x = 0; x < dib.width(); ++x, p += 3) {
                const std::uint32_t k = key(p);
                if (k != last && find(k) < 0 && !insert(k))
                    return false;
                last = k;
            }
        }
        return true;
    }
    [[nodiscard]] int find(std::uint32_t k) const
    {
        for (std::uint32_t i = hash(k);; i = (i + 1) % Slots) {
            if (m_keys[i] == k)
                return m_values[i];
            if (m_keys[i] == 0)
                return -1;
        }
    }
    [[nodiscard]] static std::uint32_t key(const std::uint8_t* bgr)
    {
        return 0x1000000u | bgr[0] | (std::uint32_t{bgr[1]} << 8) | (std::uint32_t{bgr[2]} << 16);
    }
    [[nodiscard]] const std::vector<std::array<std::uint8_t, 3>>& colors() const { return m_colors; }

private:
    static constexpr std::uint32_t Slots = 1024;  // at most 257 used: probes stay short
    [[nodiscard]] static std::uint32_t hash(std::uint32_t k) { return (k * 2654435761u) >> 22; }
    bool insert(std::uint32_t k)
    {
        if (m_colors.size() == MaxColors)
            return false;
        std::uint32_t i = hash(k);
        while (m_keys[i] != 0)
            i = (i + 1) % Slots;
        m_keys[i] = k;
        m_values[i] = static_cast<std::int16_t>(m_colors.size());
        m_colors.push_back(
            {static_cast<std::uint8_t>(k >> 16), static_cast<std::uint8_t>(k >> 8), static_cast<std::uint8_t>(k)});
        return true;
    }

    std::array<std::uint32_t, Slots> m_keys{};
    std::array<std::int16_t, Slots> m_values{};
    std::vector<std::array<std::uint8_t, 3>> m_colors;
};

// Writes the 8-bit rows; indexOf(bgr pointer) gives each pixel's palette index. Each
// thread calls a copy of its own, which may remember what it looked up last.
template<class IndexOf>
DibError mapPixels(const Dib& dib, Bytes& bits, const IndexOf& indexOf)
{
    std::size_t bytes = 0;
    if (const DibError error = dibImageBytes(dib.width(), dib.height(), 8, bytes); error != DibError::None)
        return error;
    if (const DibError error = allocateBytes(bits, bytes); error != DibError::None)
        return error;
    const std::size_t stride = dibStride(dib.width(), 8);
    const bool done = splitInTwo(dib.height(), 64, [&](int begin, int end) {
        std::vector<std::uint8_t> scratch;
        IndexOf index = indexOf;
        for (int y = begin; y < end; ++y) {
            const std::uint8_t* p = bgrRow(dib, y, scratch);
            std::uint8_t* out = bits.data() + stride * static_cast<std::size_t>(dib.height() - 1 - y);
            std::memset(out + dib.width(), 0, stride - static_cast<std::size_t>(dib.width()));
            for (int x = 0; x < dib.width(); ++x, p += 3)
                out[x] = index(p);
        }
    });
    return done ? DibError::None : DibError::OutOfMemory;
}

std::vector<RgbQuad> quads(const std::vector<std::array<std::uint8_t, 3>>& colors)
{
    std::vector<RgbQuad> palette;
    for (const auto& c : colors)
        palette.push_back({c[2], c[1], c[0], 0});
    return palette;
}

// An image of 256 colours or fewer, such as one the refresh has reduced already, is
// known before any statistics are gathered: a photograph shows its 257th colour
// within a few rows.
DibError reduce(Dib& dib, std::uint32_t methodFlags)
{
    Bytes bits;
    auto exact = std::make_unique<ExactColors>();
    if (exact->collect(dib)) {
        // Screenshots repeat a colour along a row: the last one is looked up once.
        std::uint32_t lastKey = 0;
        std::uint8_t lastIndex = 0;
        const DibError error = mapPixels(dib, bits, [&exact, lastKey, lastIndex](const std::uint8_t* p) mutable {
            const std::uint32_t k = ExactColors::key(p);
            if (k != lastKey) {
                lastKey = k;
                lastIndex = static_cast<std::uint8_t>(exact->find(k));
            }
            return lastIndex;
        });
        if (error == DibError::None)
            dib.replace(8, std::move(bits), quads(exact->colors()));
        return error;
    }
    exact.reset();
    std::vector<ColorCell> cells;
    if (const DibError error = colorCells(dib, cells); error != DibError::None)
        return error;
    const auto palette = medianCut(cells, methodFlags, MaxColors);
    const PaletteMatcher matcher(palette, methodFlags);
    // Only the occupied cells' entries are ever written or read.
    Bytes table;
    if (const DibError error = allocateBytes(table, CellCount); error != DibError::None)
        return error;
    const auto matchCells = [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            const ColorCell& c = cells[static_cast<std::size_t>(i)];
            table[c.cell] = matcher.nearest(c.mean[0], c.mean[1], c.mean[2]);
        }
    };
    if (!splitInTwo(static_cast<int>(cells.size()), 1024, matchCells))
        return DibError::OutOfMemory;
    const DibError error = mapPixels(dib, bits, [&](const std::uint8_t* p) { return table[cellOf(p[2], p[1], p[0])]; });
    if (error == DibError::None)
        dib.replace(8, std::move(bits), quads(palette));
    return error;
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
