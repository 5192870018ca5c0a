#pragma once
// The screen positions of the X server's pointer events (core and XInput 2), taken
// from the events themselves as Qt receives them. Qt's native event filter sees each
// event Qt keeps, after it has merged quick moves and before it makes its mouse event
// of it; the mouse events follow later, in the same order.

#include "PointerPositions.h"
#include "SeenPointerEvents.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>

class X11PointerPositions final : public PointerPositions, public QAbstractNativeEventFilter
{
public:
    // Watches the application's X events from now on (none when it runs without X).
    X11PointerPositions();
    ~X11PointerPositions() override;
    X11PointerPositions(const X11PointerPositions&) = delete;
    X11PointerPositions& operator=(const X11PointerPositions&) = delete;

    [[nodiscard]] std::optional<QPoint> takeScreenPosition(const PointerEventKey& key) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    SeenPointerEvents m_seen;
    std::uint8_t m_inputOpcode = 0;  // XInput's major opcode; 0 without XInput
    bool m_installed = false;
};
