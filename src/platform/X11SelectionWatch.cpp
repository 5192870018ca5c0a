#include "X11SelectionWatch.h"

#include "XcbReply.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstring>

struct X11SelectionWatch::Connection {
    xcb_connection_t* xcb = nullptr;
    xcb_atom_t clipboard = XCB_ATOM_NONE;
    std::uint8_t xfixesEvent = 0;  // first event code of the extension

    ~Connection() { xcb_disconnect(xcb); }
};

namespace {

constexpr char ClipboardName[] = "CLIPBOARD";

xcb_atom_t clipboardAtom(xcb_connection_t* xcb)
{
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(xcb, xcb_intern_atom(xcb, 0, std::strlen(ClipboardName), ClipboardName), nullptr));
    return atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Every way the owner can change: a new copy, the owner's window or program gone.
constexpr std::uint32_t OwnerChanges = XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                       | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                       | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE;

}  // namespace

X11SelectionWatch::X11SelectionWatch()
{
    auto x = std::make_unique<Connection>();
    int screenNumber = 0;
    x->xcb = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x->xcb))
        return;
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(x->xcb, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return;
    x->xfixesEvent = xfixes->first_event;
    const XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        x->xcb, xcb_xfixes_query_version(x->xcb, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION), nullptr));
    x->clipboard = clipboardAtom(x->xcb);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x->xcb));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!version || x->clipboard == XCB_ATOM_NONE || !screens.rem)
        return;
    xcb_xfixes_select_selection_input(x->xcb, screens.data->root, x->clipboard, OwnerChanges);
    m_x = std::move(x);
    static_cast<void>(latestChange());
}

X11SelectionWatch::~X11SelectionWatch() = default;

std::uint32_t X11SelectionWatch::latestChange()
{
    if (!m_x)
        return 0;
    // The reply comes after every event the server sent before it.
    const XcbReply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(m_x->xcb, xcb_get_input_focus(m_x->xcb), nullptr));
    while (const XcbReply<xcb_generic_event_t> event{xcb_poll_for_queued_event(m_x->xcb)}) {
        if ((event->response_type & 0x7F) == m_x->xfixesEvent + XCB_XFIXES_SELECTION_NOTIFY)
            m_latest = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event.get())->selection_timestamp;
    }
    return m_latest;
}

// The server ignores a change of owner dated before the selection's last change:
// a copy made after `since` survives.
bool X11SelectionWatch::clearUnlessChangedAfter(std::uint32_t since)
{
    if (!m_x)
        return false;
    xcb_set_selection_owner(m_x->xcb, XCB_NONE, m_x->clipboard, since);
    static_cast<void>(latestChange());
    return true;
}
