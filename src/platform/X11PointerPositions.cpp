#include "X11PointerPositions.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <algorithm>

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

// XInput 2 gives positions in 16.16 fixed point.
int wholePixels(xcb_input_fp1616_t value)
{
    return value >> 16;
}

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

std::optional<QPoint> X11PointerPositions::takeScreenPosition(PointerEvent kind, unsigned long timestamp)
{
    for (std::size_t i = 0; i < m_seen.size(); ++i) {
        Seen& event = m_seen[(m_next + i) % m_seen.size()];
        if (!event.taken && event.kind == kind && event.time == timestamp) {
            event.taken = true;
            return event.position;
        }
    }
    return std::nullopt;
}

bool X11PointerPositions::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & ~0x80;
    if (const std::optional<PointerEvent> kind = coreKind(type)) {
        // The three share one layout.
        const auto* button = reinterpret_cast<const xcb_button_press_event_t*>(event);
        remember(*kind, button->time, QPoint(button->root_x, button->root_y));
    } else if (type == XCB_GE_GENERIC) {
        const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
        const std::optional<PointerEvent> deviceKind = inputKind(generic->event_type);
        if (m_inputOpcode != 0 && generic->extension == m_inputOpcode && deviceKind) {
            const auto* device = reinterpret_cast<const xcb_input_button_press_event_t*>(event);
            remember(*deviceKind, device->time, QPoint(wholePixels(device->root_x), wholePixels(device->root_y)));
        }
    }
    return false;
}

void X11PointerPositions::remember(PointerEvent kind, std::uint32_t time, QPoint position)
{
    m_seen[m_next] = {kind, time, position, false};
    m_next = (m_next + 1) % m_seen.size();
}
