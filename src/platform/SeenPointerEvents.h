#pragma once
// The window system's pointer events that Qt has taken in but not yet delivered as
// mouse events. Qt turns each into at most one mouse event and delivers them in the
// order it took them in, so the event behind the mouse event in hand is the first one
// seen since the last delivery that has its kind, time, window and held button: one
// before it was never delivered to that window (a move without a button held, a click
// on another window) and is done with.

#include "PointerPositions.h"

#include <cstddef>
#include <deque>

struct SeenPointerEvent {
    PointerEventKey key;
    QPoint position;  // on the screen
};

class SeenPointerEvents
{
public:
    void remember(const SeenPointerEvent& event);
    [[nodiscard]] std::optional<QPoint> take(const PointerEventKey& key);

private:
    // More than a burst of input between two of Qt's deliveries holds.
    static constexpr std::size_t Capacity = 256;

    std::deque<SeenPointerEvent> m_pending;
    std::optional<SeenPointerEvent> m_lastPress;
};
