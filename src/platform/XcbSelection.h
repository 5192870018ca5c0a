#pragma once
// The owner's answer to a request for the clipboard's contents: the conversion is done
// into `property`, or refused (XCB_NONE).

#include <xcb/xcb.h>

inline void answerSelectionRequest(xcb_connection_t* xcb, const xcb_selection_request_event_t& request,
                                   xcb_atom_t property)
{
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(xcb, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&notify));
    xcb_flush(xcb);
}
