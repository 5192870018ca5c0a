#include "ExactColors.h"

#include "ColorHistogram.h"
#include "IndexRows.h"
#include "Parallel.h"
#include "PixelRows.h"

#include <atomic>
#include <numeric>

namespace {

// Up to 256 colours (0xRRGGBB) in order of first appearance, in an open-addressed table.
class ColorIndex
{
public:
    // The index of rgb, a new one when it is new; -1 when 256 are taken already.
    [[nodiscard]] int indexOf(std::uint32_t rgb)
    {
        const std::uint32_t k = 0x1000000u | rgb;  // never 0, the empty slot's key
        std::uint32_t i = (k * 2654435761u) >> 22;
        for (; m_keys[i] != 0; i = (i + 1) % Slots)
            if (m_keys[i] == k)
                return m_values[i];
        if (m_colors.size() == MaxColors)
            return -1;
        m_keys[i] = k;
        m_values[i] = static_cast<std::int16_t>(m_colors.size());
        m_colors.push_back(rgb);
        return m_values[i];
    }
    [[nodiscard]] const std::vector<std::uint32_t>& colors() const { return m_colors; }

private:
    static constexpr std::uint32_t Slots = 1024;  // at most 256 used: probes stay short

    std::array<std::uint32_t, Slots> m_keys{};
    std::array<std::int16_t, Slots> m_values{};
    std::vector<std::uint32_t> m_colors;
};

// Writes rows [begin, end) from the top down; false at a 257th colour, or once the
// other part has met one (stop).
bool indexRows(const Dib& dib, int begin, int end, Bytes& bits, ColorIndex& colors, std::atomic<bool>& stop)
{
    std::vector<std::uint8_t> scratch;
    // Screenshots repeat a colour along a row: each run is looked up once.
    std::vector<ColorRun> runs(colorRunRoom(dib.width()));
    bool fits = true;
    for (int y = begin; y < end && fits; ++y) {
        std::uint8_t* out = indexRow(dib, bits, y);
        const std::size_t count = colorRuns(bgrRow(dib, y, scratch), dib.width(), runs.data());
        int x = 0;
        for (std::size_t i = 0; i < count && fits; ++i) {
            const int index = colors.indexOf(runs[i].rgb);
            const auto length = static_cast<int>(runs[i].length);
            fillRun(out, x, length, dib.width(), static_cast<std::uint8_t>(index));
            x += length;
            fits = index >= 0;
        }
        fits = fits && !stop.load(std::memory_order_relaxed);
    }
    if (!fits)
        stop = true;
    return fits;
}

// The second part's colours joined to the first's (after them, in the order the second
// part met them) and its rows [begin, end) renumbered; false past 256.
bool joinParts(const Dib& dib, int begin, int end, ColorIndex& first, const ColorIndex& second, Bytes& bits)
{
    std::array<std::uint8_t, MaxColors> renumber{};
    bool same = true;
    for (std::size_t i = 0; i < second.colors().size(); ++i) {
        const int index = first.indexOf(second.colors()[i]);
        if (index < 0)
            return false;
        renumber[i] = static_cast<std::uint8_t>(index);
        same = same && index == static_cast<int>(i);
    }
    if (same)
        return true;
    const std::size_t stride = dibStride(dib.width(), 8);
    for (int y = begin; y < end; ++y) {
        std::uint8_t* row = bits.data() + stride * static_cast<std::size_t>(dib.height() - 1 - y);
        for (int x = 0; x < dib.width(); ++x)
            row[x] = renumber[row[x]];
    }
    return true;
}

}  // namespace

DibError exactIndices(const Dib& dib, Bytes& bits, std::vector<std::array<std::uint8_t, 3>>& colors)
{
    colors.clear();
    ColorIndex parts[2];
    bool fits[2] = {true, true};
    int secondBegin = dib.height();
    std::atomic<bool> stop{false};
    const bool done = splitInTwo(dib.height(), 64, [&](int begin, int end) {
        const std::size_t part = begin == 0 ? 0 : 1;
        if (part == 1)
            secondBegin = begin;
        fits[part] = indexRows(dib, begin, end, bits, parts[part], stop);
    });
    if (!done)
        return DibError::OutOfMemory;
    if (!fits[0] || !fits[1] || !joinParts(dib, secondBegin, dib.height(), parts[0], parts[1], bits))
        return DibError::None;
    for (const std::uint32_t rgb : parts[0].colors())
        colors.push_back({static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                          static_cast<std::uint8_t>(rgb)});
    return DibError::None;
}
