#include "MedianCut.h"
#include "dibimage.h"

#include "Luma.h"

#include <algorithm>
#include <cmath>

namespace {

// Pixel-weighted sums of the cells' mean colours: enough for the squared error. Every
// term is a whole number below 2^53, so the sums are exact whatever order the cells
// are added in, and the cells of a box may be kept in any order.
struct Moments {
    double n = 0;
    std::array<double, 3> sum{};
    double squares = 0;

    void add(const ColorCell& cell)
    {
        const auto w = static_cast<double>(cell.count);
        n += w;
        for (std::size_t k = 0; k < 3; ++k) {
            sum[k] += w * cell.mean[k];
            squares += w * cell.mean[k] * cell.mean[k];
        }
    }
    void add(const Moments& other, double sign)
    {
        n += sign * other.n;
        for (std::size_t k = 0; k < 3; ++k)
            sum[k] += sign * other.sum[k];
        squares += sign * other.squares;
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

// Everything the box's colour, error and cut are chosen by, gathered in one pass.
struct BoxSums {
    Moments moments;
    std::array<int, 3> low{255, 255, 255};  // of the cells' means, per channel
    std::array<int, 3> high{0, 0, 0};
    std::array<double, 3> distinct{};  // sum of the cells' means
    std::array<double, 3> weighted{};  // sum of the pixels' channels
};

struct Box {
    std::size_t begin;
    std::size_t end;
    BoxSums sums;
    double error = 0;  // pixel-weighted squared error of the cells' means about the box's colour
};

BoxSums sumsOf(const std::vector<ColorCell>& cells, std::size_t begin, std::size_t end)
{
    BoxSums s;
    for (std::size_t i = begin; i < end; ++i) {
        const ColorCell& cell = cells[i];
        s.moments.add(cell);
        for (std::size_t k = 0; k < 3; ++k) {
            s.low[k] = std::min<int>(s.low[k], cell.mean[k]);
            s.high[k] = std::max<int>(s.high[k], cell.mean[k]);
            s.distinct[k] += cell.mean[k];
            s.weighted[k] += static_cast<double>(cell.sum[k]);
        }
    }
    return s;
}

std::size_t splitAxis(const BoxSums& s, std::uint32_t methodFlags)
{
    // The brightness method weighs each channel's range by its share of the luma.
    const double weight[3] = {LumaRed, LumaGreen, LumaBlue};
    std::size_t best = 0;
    double bestRange = -1;
    for (std::size_t k = 0; k < 3; ++k) {
        const double range = (s.high[k] - s.low[k]) * ((methodFlags & SplitByBrightness) ? weight[k] : 1.0);
        if (range > bestRange) {
            bestRange = range;
            best = k;
        }
    }
    return best;
}

// The highest value on axis of the lower part: the cut between two of the box's values
// with the least summed squared error (the lowest such value among equals). The cells
// are summed per value, so a cut costs one pass over them and none over sorted copies.
int bestCut(const std::vector<ColorCell>& cells, const Box& box, std::size_t axis)
{
    std::array<Moments, 256> byValue{};
    for (std::size_t i = box.begin; i < box.end; ++i)
        byValue[cells[i].mean[axis]].add(cells[i]);
    Moments left;
    Moments right = box.sums.moments;
    double bestError = INFINITY;
    int best = box.sums.low[axis];
    for (int v = box.sums.low[axis]; v < box.sums.high[axis]; ++v) {
        const Moments& here = byValue[static_cast<std::size_t>(v)];
        if (here.n == 0)
            continue;
        left.add(here, 1);
        right.add(here, -1);
        const double error = left.error() + right.error();
        if (error < bestError) {
            bestError = error;
            best = v;
        }
    }
    return best;
}

std::array<std::uint8_t, 3> boxColor(const Box& box, std::uint32_t methodFlags)
{
    const BoxSums& s = box.sums;
    std::array<std::uint8_t, 3> colour{};
    for (std::size_t k = 0; k < 3; ++k) {
        double value = (s.low[k] + s.high[k]) / 2.0;
        if (methodFlags & ColorFromAllPixels)
            value = s.weighted[k] / s.moments.n;
        else if (methodFlags & ColorFromDistinct)
            value = s.distinct[k] / static_cast<double>(box.end - box.begin);
        colour[k] = static_cast<std::uint8_t>(std::nearbyint(value));
    }
    return colour;
}

// Boxes are split in the order of how badly their colour stands for their pixels.
Box makeBox(const std::vector<ColorCell>& cells, std::size_t begin, std::size_t end, std::uint32_t methodFlags)
{
    Box box{begin, end, sumsOf(cells, begin, end)};
    box.error = box.sums.moments.errorAbout(boxColor(box, methodFlags));
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
        const std::size_t axis = splitAxis(box.sums, methodFlags);
        const int lastBelow = bestCut(cells, box, axis);
        const auto cut = std::partition(cells.begin() + static_cast<std::ptrdiff_t>(box.begin),
                                        cells.begin() + static_cast<std::ptrdiff_t>(box.end),
                                        [&](const ColorCell& c) { return c.mean[axis] <= lastBelow; });
        const auto cutAt = static_cast<std::size_t>(cut - cells.begin());
        *widest = makeBox(cells, box.begin, cutAt, methodFlags);
        boxes.push_back(makeBox(cells, cutAt, box.end, methodFlags));
    }
    std::vector<std::array<std::uint8_t, 3>> palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes)
        palette.push_back(boxColor(box, methodFlags));
    return palette;
}
