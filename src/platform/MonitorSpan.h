#pragma once
// Which monitors a full-screen window must span to cover them all, as the window
// manager's _NET_WM_FULLSCREEN_MONITORS asks: the indices of the monitors (in the
// Xinerama order) whose edges are the outermost on each side.

#include <QRect>

#include <optional>
#include <vector>

struct MonitorSpan {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;

    friend bool operator==(const MonitorSpan&, const MonitorSpan&) = default;
};

// Nothing to ask with fewer than two monitors.
std::optional<MonitorSpan> SpanOfAllMonitors(const std::vector<QRect>& monitors);
