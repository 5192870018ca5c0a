#pragma once
// Where the pointer was at a mouse event, in the screen's own pixels. Qt reports mouse
// events in its scaled window pixels, rounded to whole ones: at a scale of 1.5 or 2
// most screen pixels cannot be told apart from their neighbours that way.

#include <QPoint>

#include <optional>

enum class PointerEvent { Press, Move, Release };

class PointerPositions
{
public:
    virtual ~PointerPositions() = default;
    // The pointer's screen position at the mouse event of this kind and timestamp (Qt's
    // QInputEvent::timestamp()), if this service saw it. Events of one kind can share
    // a timestamp: each call takes the earliest not taken yet, as Qt delivers them in
    // order.
    [[nodiscard]] virtual std::optional<QPoint> takeScreenPosition(PointerEvent kind, unsigned long timestamp) = 0;
};
