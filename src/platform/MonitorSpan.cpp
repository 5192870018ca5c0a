#include "MonitorSpan.h"

#include <algorithm>
#include <iterator>

namespace {

template<typename Less>
int indexOfFirst(const std::vector<QRect>& monitors, Less less)
{
    return static_cast<int>(std::distance(monitors.begin(), std::min_element(monitors.begin(), monitors.end(), less)));
}

}  // namespace

std::optional<MonitorSpan> SpanOfAllMonitors(const std::vector<QRect>& monitors)
{
    if (monitors.size() < 2)
        return std::nullopt;
    return MonitorSpan{
        indexOfFirst(monitors, [](const QRect& a, const QRect& b) { return a.top() < b.top(); }),
        indexOfFirst(monitors, [](const QRect& a, const QRect& b) { return a.bottom() > b.bottom(); }),
        indexOfFirst(monitors, [](const QRect& a, const QRect& b) { return a.left() < b.left(); }),
        indexOfFirst(monitors, [](const QRect& a, const QRect& b) { return a.right() > b.right(); }),
    };
}
