#include "PaletteMatcher.h"

#include "Luma.h"
#include "MedianCut.h"
#include "dibimage.h"

#include <algorithm>
#include <cmath>
#include <numeric>

PaletteMatcher::PaletteMatcher(const std::vector<std::array<std::uint8_t, 3>>& palette, std::uint32_t methodFlags)
    : m_flags(methodFlags)
{
    std::vector<std::size_t> order(palette.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<Point> points;
    for (const auto& c : palette)
        points.push_back(toPoint(c[0], c[1], c[2]));
    m_byIndex = points;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return points[a][0] < points[b][0]; });
    for (std::size_t i : order) {
        m_points.push_back(points[i]);
        m_indices.push_back(static_cast<std::uint8_t>(i));
    }
}

// Coordinates scaled by 256 so that integer distances keep fractions of a level.
PaletteMatcher::Point PaletteMatcher::toPoint(std::uint8_t r, std::uint8_t g, std::uint8_t b) const
{
    const double y = lumaOf(r, g, b);
    if (m_flags & MatchBrightness)
        return {static_cast<std::int32_t>(std::lround(256 * y)), 0, 0};
    if (m_flags & MatchYCrCb) {
        const double cr = 0.5 * r - 0.418688 * g - 0.081312 * b;
        const double cb = -0.168736 * r - 0.331264 * g + 0.5 * b;
        return {static_cast<std::int32_t>(std::lround(256 * y)), static_cast<std::int32_t>(std::lround(256 * cr)),
                static_cast<std::int32_t>(std::lround(256 * cb))};
    }
    return {256 * g, 256 * r, 256 * b};
}

namespace {

std::int64_t squaredDistance(const std::array<std::int32_t, 3>& p, const std::array<std::int32_t, 3>& q)
{
    std::int64_t d = 0;
    for (std::size_t k = 0; k < 3; ++k)
        d += std::int64_t{p[k] - q[k]} * (p[k] - q[k]);
    return d;
}

}  // namespace

std::uint8_t PaletteMatcher::nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t guess) const
{
    const Point q = toPoint(r, g, b);
    const auto start = std::lower_bound(m_points.begin(), m_points.end(), q[0],
                                        [](const Point& p, std::int32_t v) { return p[0] < v; });
    const auto begin = static_cast<std::ptrdiff_t>(start - m_points.begin());
    const auto size = static_cast<std::ptrdiff_t>(m_points.size());
    // The guess bounds the walk from the start; it is met again on the way, so the
    // lowest index still wins among equals.
    std::uint8_t bestIndex = guess < m_byIndex.size() ? guess : 0;
    std::int64_t best = m_byIndex.empty() ? INT64_MAX : squaredDistance(m_byIndex[bestIndex], q);
    auto consider = [&](std::ptrdiff_t i) {
        const Point& p = m_points[static_cast<std::size_t>(i)];
        const std::int64_t d = squaredDistance(p, q);
        const std::uint8_t index = m_indices[static_cast<std::size_t>(i)];
        if (d < best || (d == best && index < bestIndex)) {
            best = d;
            bestIndex = index;
        }
        const std::int64_t gap = p[0] - q[0];
        return gap * gap <= best;
    };
    // Walk outward from the first coordinate's position while an entry could be nearer.
    for (std::ptrdiff_t i = begin; i < size && consider(i); ++i) {}
    for (std::ptrdiff_t i = begin - 1; i >= 0 && consider(i); --i) {}
    return bestIndex;
}
