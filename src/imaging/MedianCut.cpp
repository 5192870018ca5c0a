#include "MedianCut.h"
#include "dibimage.h"

#include "Luma.h"

#include <algorithm>
#include <cmath>

namespace {

struct Box {
    std::size_t begin;
    std::size_t end;
    double error = 0;  // pixel-weighted squared error of the cells' means about the box's colour
};

// Pixel-weighted sums of the cells' mean colours: enough for the squared error.
struct Moments {
    double n = 0;
    std::array<double, 3> sum{};
    double squares = 0;

    void add(const ColorCell& cell, double sign = 1)
    {
        const double w = sign * static_cast<double>(cell.count);
        n += w;
        for (std::size_t k = 0; k < 3; ++k) {
            sum[k] += w * cell.mean[k];
            squares += w * cell.mean[k] * cell.mean[k];
        }
    }
    [[nodiscard]] double error() const
    {
        return n > 0 ? squares - (sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]) / n : 0;
    }
    // The squared error about colour c instead of about the mean.
    [[nodiscard]] double errorAbout(const std::array<std::uint8_t, 3>& c) const
    {
        double e = squares;
        for (std::size_t k = 0; k < 3; ++k)
            e += n * c[k] * c[k] - 2.0 * c[k] * sum[k];
        return e;
    }
};

Moments moments(const std::vector<ColorCell>& cells, std::size_t begin, std::size_t end)
{
    Moments m;
    for (std::size_t i = begin; i < end; ++i)
        m.add(cells[i]);
    return m;
}

int splitAxis(const std::vector<ColorCell>& cells, const Box& box, std::uint32_t methodFlags)
{
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
    for (std::size_t i = box.begin; i < box.end; ++i)
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min<int>(low[k], cells[i].mean[k]);
            high[k] = std::max<int>(high[k], cells[i].mean[k]);
        }
    // The brightness method weighs each channel's range by its share of the luma.
    const double weight[3] = {LumaRed, LumaGreen, LumaBlue};
    int best = 0;
    double bestRange = -1;
    for (int k = 0; k < 3; ++k) {
        const double range = (high[k] - low[k]) * ((methodFlags & SplitByBrightness) ? weight[k] : 1.0);
        if (range > bestRange) {
            bestRange = range;
            best = k;
        }
    }
    return best;
}

// Sorts the box along axis and returns the cut with the least summed squared error.
std::size_t bestCut(std::vector<ColorCell>& cells, const Box& box, int axis)
{
    std::sort(cells.begin() + static_cast<std::ptrdiff_t>(box.begin),
              cells.begin() + static_cast<std::ptrdiff_t>(box.end),
              [axis](const ColorCell& a, const ColorCell& b) { return a.mean[axis] < b.mean[axis]; });
    Moments left;
    Moments right = moments(cells, box.begin, box.end);
    double bestError = INFINITY;
    std::size_t best = box.begin + 1;
    for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
        left.add(cells[i]);
        right.add(cells[i], -1);
        if (cells[i].mean[axis] == cells[i + 1].mean[axis])
            continue;
        const double error = left.error() + right.error();
        if (error < bestError) {
            bestError = error;
            best = i + 1;
        }
    }
    return best;
}

std::array<std::uint8_t, 3> boxColor(const std::vector<ColorCell>& cells, const Box& box, std::uint32_t methodFlags)
{
    std::array<std::uint8_t, 3> colour{};
    for (int k = 0; k < 3; ++k) {
        double low = 255, high = 0, distinct = 0, weighted = 0, n = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            low = std::min<double>(low, cells[i].mean[k]);
            high = std::max<double>(high, cells[i].mean[k]);
            distinct += cells[i].mean[k];
            weighted += static_cast<double>(cells[i].sum[k]);
            n += static_cast<double>(cells[i].count);
        }
        double value = (low + high) / 2;
        if (methodFlags & ColorFromAllPixels)
            value = weighted / n;
        else if (methodFlags & ColorFromDistinct)
            value = distinct / static_cast<double>(box.end - box.begin);
        colour[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(std::nearbyint(value));
    }
    return colour;
}

// Boxes are split in the order of how badly their colour stands for their pixels.
Box makeBox(const std::vector<ColorCell>& cells, std::size_t begin, std::size_t end, std::uint32_t methodFlags)
{
    Box box{begin, end};
    box.error = moments(cells, begin, end).errorAbout(boxColor(cells, box, methodFlags));
    return box;
}

}  // namespace

std::vector<std::array<std::uint8_t, 3>> medianCut(std::vector<ColorCell>& cells, std::uint32_t methodFlags,
                                                   int maxColors)
{
    std::vector<Box> boxes{makeBox(cells, 0, cells.size(), methodFlags)};
    while (static_cast<int>(boxes.size()) < maxColors) {
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return (a.end - a.begin > 1 ? a.error : -1) < (b.end - b.begin > 1 ? b.error : -1);
        });
        if (widest->end - widest->begin < 2)
            break;
        const Box box = *widest;
        const std::size_t cut = bestCut(cells, box, splitAxis(cells, box, methodFlags));
        *widest = makeBox(cells, box.begin, cut, methodFlags);
        boxes.push_back(makeBox(cells, cut, box.end, methodFlags));
    }
    std::vector<std::array<std::uint8_t, 3>> palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes)
        palette.push_back(boxColor(cells, box, methodFlags));
    return palette;
}
