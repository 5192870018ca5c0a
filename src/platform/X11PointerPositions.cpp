#include "X11PointerPositions.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace {

xcb_connection_t* applicationConnection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

std::optional<PointerEvent> coreKind(std::uint8_t type)
{
    switch (type) {
    case XCB_BUTTON_PRESS: return PointerEvent::Press;
    case XCB_MOTION_NOTIFY: return PointerEvent::Move;
    case XCB_BUTTON_RELEASE: return PointerEvent::Release;
    default: return std::nullopt;
    }
}

std::optional<PointerEvent> inputKind(std::uint16_t type)
{
    switch (type) {
    case XCB_INPUT_BUTTON_PRESS: return PointerEvent::Press;
    case XCB_INPUT_MOTION: return PointerEvent::Move;
    case XCB_INPUT_BUTTON_RELEASE: return PointerEvent::Release;
    default: return std::nullopt;
    }
}

// Buttons 4 to 7 are the wheel's: Qt makes wheel events of them, never mouse events.
bool isWheel(std::uint32_t button) { return button >= 4 && button <= 7; }

constexpr std::uint16_t CoreButtonMasks = XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3;

// Held buttons in XInput 2's mask: bit n for button n.
bool inputButtonHeld(const xcb_input_button_press_event_t* event)
{
    const auto* mask = reinterpret_cast<const std::uint8_t*>(xcb_input_button_press_button_mask(event));
    const std::uint32_t buttons = std::uint32_t{event->buttons_len} * 32;
    for (std::uint32_t button = 1; button < buttons; ++button)
        if (!isWheel(button) && (mask[button / 8] & (1u << (button % 8))) != 0)
            return true;
    return false;
}

// XInput 2 gives positions in 16.16 fixed point.
int wholePixels(xcb_input_fp1616_t value) { return value >> 16; }

}  // namespace

X11PointerPositions::X11PointerPositions()
{
    xcb_connection_t* connection = applicationConnection();
    if (!connection)
        return;
    const xcb_query_extension_reply_t* input = xcb_get_extension_data(connection, &xcb_input_id);
    if (input && input->present)
        m_inputOpcode = input->major_opcode;
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_installed = true;
}

X11PointerPositions::~X11PointerPositions()
{
    if (m_installed && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

std::optional<QPoint> X11PointerPositions::takeScreenPosition(const PointerEventKey& key) { return m_seen.take(key); }

bool X11PointerPositions::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & ~0x80;
    if (const std::optional<PointerEvent> kind = coreKind(type)) {
        // The three share one layout.
        const auto* button = reinterpret_cast<const xcb_button_press_event_t*>(event);
        if (*kind == PointerEvent::Move || !isWheel(button->detail))
            m_seen.remember({{*kind, button->time, button->event, (button->state & CoreButtonMasks) != 0},
                             QPoint(button->root_x, button->root_y)});
    } else if (type == XCB_GE_GENERIC && m_inputOpcode != 0) {
        const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
        const std::optional<PointerEvent> kind = inputKind(generic->event_type);
        if (generic->extension != m_inputOpcode || !kind)
            return false;
        const auto* device = reinterpret_cast<const xcb_input_button_press_event_t*>(event);
        if (*kind == PointerEvent::Move || !isWheel(device->detail))
            m_seen.remember({{*kind, device->time, device->event, inputButtonHeld(device)},
                             QPoint(wholePixels(device->root_x), wholePixels(device->root_y))});
    }
    return false;
}
