#pragma once
// Pointer positions for tests that send Qt's own mouse events, which no X event
// stands behind: the windows take Qt's positions.

#include "platform/PointerPositions.h"

class FakePointerPositions final : public PointerPositions
{
public:
    [[nodiscard]] std::optional<QPoint> takeScreenPosition(const PointerEventKey&) override { return std::nullopt; }
};
