#include "X11PrintKey.h"

#include "XcbReply.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <array>

namespace {

constexpr xcb_keysym_t PrintKeysym = 0xff61;  // XK_Print
constexpr std::uint8_t BadAccess = 10;

// Print alone and with the lock modifiers a user may have on (Num Lock is Mod2 on
// every common keyboard map).
constexpr std::array<std::uint16_t, 4> LockVariants = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                       XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

xcb_connection_t* qtConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

std::uint8_t printKeycode(xcb_connection_t* xcb)
{
    const xcb_setup_t* setup = xcb_get_setup(xcb);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const XcbReply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        xcb, xcb_get_keyboard_mapping(xcb, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr));
    if (!mapping)
        return 0;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perKey = mapping->keysyms_per_keycode;
    for (int key = 0; key < count; ++key)
        for (int level = 0; level < perKey; ++level)
            if (symbols[key * perKey + level] == PrintKeysym)
                return static_cast<std::uint8_t>(setup->min_keycode + key);
    return 0;
}

void ungrab(xcb_connection_t* xcb, std::uint32_t root, std::uint8_t keycode)
{
    for (const std::uint16_t modifiers : LockVariants)
        xcb_ungrab_key(xcb, keycode, root, modifiers);
    xcb_flush(xcb);
}

}  // namespace

X11PrintKey::~X11PrintKey() { release(); }

PrintKeyHold X11PrintKey::take(std::function<void()> pressed)
{
    release();
    xcb_connection_t* xcb = qtConnection();
    if (!xcb)
        return PrintKeyHold::Unavailable;
    const std::uint8_t keycode = printKeycode(xcb);
    if (keycode == 0)
        return PrintKeyHold::Unavailable;
    const std::uint32_t root = xcb_setup_roots_iterator(xcb_get_setup(xcb)).data->root;
    bool taken = false;
    for (const std::uint16_t modifiers : LockVariants) {
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(
            xcb, xcb_grab_key_checked(xcb, 1, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
        taken = taken || (error && error->error_code == BadAccess);
    }
    if (taken) {
        ungrab(xcb, root, keycode);
        return PrintKeyHold::TakenByAnother;
    }
    m_pressed = std::move(pressed);
    m_root = root;
    m_keycode = keycode;
    QCoreApplication::instance()->installNativeEventFilter(this);
    return PrintKeyHold::Held;
}

void X11PrintKey::release()
{
    if (m_keycode == 0)
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (xcb_connection_t* xcb = qtConnection())
        ungrab(xcb, m_root, m_keycode);
    m_keycode = 0;
    m_pressed = nullptr;
}

bool X11PrintKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS)
        return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->detail != m_keycode || key->event != m_root)
        return false;
    if (m_pressed)
        m_pressed();
    return true;
}
