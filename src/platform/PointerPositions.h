#pragma once
// Where the pointer was at a mouse event, in the screen's own pixels. Qt reports mouse
// events in its scaled window pixels, rounded to whole ones: at a scale of 1.5 or 2
// most screen pixels cannot be told apart from their neighbours that way.

#include <QPoint>
#include <QtGlobal>

#include <optional>

// A double click is the second press as Qt gives it once more.
enum class PointerEvent { Press, DoubleClick, Move, Release };

// What tells one of Qt's mouse events apart from the window system's other pointer
// events: its kind, its timestamp (QInputEvent::timestamp()), the native window it
// went to and, for a move, whether a button was held (only those reach a window
// that does not track the pointer).
struct PointerEventKey {
    PointerEvent kind = PointerEvent::Move;
    unsigned long timestamp = 0;
    quintptr window = 0;
    bool buttonHeld = false;
};

class PointerPositions
{
public:
    virtual ~PointerPositions() = default;
    // The pointer's screen position at the window system's event behind the mouse
    // event Qt is delivering now, if this service saw it.
    [[nodiscard]] virtual std::optional<QPoint> takeScreenPosition(const PointerEventKey& key) = 0;
};
