#pragma once
// The screen positions of the X server's pointer events (core and XInput 2), taken
// from the events themselves as Qt receives them.

#include "PointerPositions.h"

#include <QAbstractNativeEventFilter>

#include <array>
#include <cstdint>

class X11PointerPositions final : public PointerPositions, public QAbstractNativeEventFilter
{
public:
    // Watches the application's X events from now on (none when it runs without X).
    X11PointerPositions();
    ~X11PointerPositions() override;
    X11PointerPositions(const X11PointerPositions&) = delete;
    X11PointerPositions& operator=(const X11PointerPositions&) = delete;

    [[nodiscard]] std::optional<QPoint> takeScreenPosition(PointerEvent kind, unsigned long timestamp) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void remember(PointerEvent kind, std::uint32_t time, QPoint position);

    struct Seen {
        PointerEvent kind = PointerEvent::Move;
        std::uint32_t time = 0;
        QPoint position;
        bool taken = true;
    };
    // The last few events, oldest at m_next: Qt delivers a mouse event soon after its
    // X event.
    std::array<Seen, 32> m_seen{};
    std::size_t m_next = 0;
    std::uint8_t m_inputOpcode = 0;  // XInput's major opcode; 0 without XInput
    bool m_installed = false;
};
