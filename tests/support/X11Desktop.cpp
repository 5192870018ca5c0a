#include "X11Desktop.h"

#include "platform/XcbReply.h"
#include "platform/XcbSelection.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template<typename T>
using Reply = XcbReply<T>;

xcb_connection_t* connection() { return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection(); }

xcb_window_t root() { return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root; }

Reply<xcb_query_tree_reply_t> tree(xcb_window_t window)
{
    return Reply<xcb_query_tree_reply_t>(
        xcb_query_tree_reply(connection(), xcb_query_tree(connection(), window), nullptr));
}

xcb_window_t topLevelOf(xcb_window_t window)
{
    for (auto reply = tree(window); reply && reply->parent != reply->root; reply = tree(window))
        window = reply->parent;
    return window;
}

xcb_window_t windowOf(const QWidget& widget) { return static_cast<xcb_window_t>(widget.winId()); }

xcb_atom_t atom(const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection(), xcb_intern_atom(connection(), 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

QRect rectOf(xcb_window_t window)
{
    const Reply<xcb_get_geometry_reply_t> size(
        xcb_get_geometry_reply(connection(), xcb_get_geometry(connection(), window), nullptr));
    const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        connection(), xcb_translate_coordinates(connection(), window, root(), 0, 0), nullptr));
    if (!size || !origin)
        return {};
    return {origin->dst_x, origin->dst_y, size->width, size->height};
}

bool xdotool(const QStringList& arguments) { return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0; }

QStringList at(QPoint point)
{
    return {QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())};
}

QStringList dragArguments(QPoint from, QPoint to)
{
    const QPoint middle = (from + to) / 2;
    return at(from) + QStringList{QStringLiteral("mousedown"), QStringLiteral("1")} + at(middle) + at(to)
           + QStringList{QStringLiteral("mouseup"), QStringLiteral("1")};
}

}  // namespace

namespace X11Desktop {

bool isAbove(const QWidget& upper, const QWidget& lower)
{
    const auto reply = tree(root());
    const xcb_window_t* first = xcb_query_tree_children(reply.get());
    const xcb_window_t* last = first + xcb_query_tree_children_length(reply.get());
    const auto* upperAt = std::find(first, last, topLevelOf(windowOf(upper)));
    const auto* lowerAt = std::find(first, last, topLevelOf(windowOf(lower)));
    return upperAt != last && lowerAt != last && upperAt > lowerAt;
}

bool isViewable(const QWidget& window)
{
    const Reply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        connection(), xcb_get_window_attributes(connection(), windowOf(window)), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

QRect geometry(const QWidget& window) { return rectOf(windowOf(window)); }

QRect frameGeometry(const QWidget& window) { return rectOf(topLevelOf(windowOf(window))); }

QRect rootRect()
{
    const Reply<xcb_get_geometry_reply_t> size(
        xcb_get_geometry_reply(connection(), xcb_get_geometry(connection(), root()), nullptr));
    return size ? QRect(0, 0, size->width, size->height) : QRect();
}

// One pixel of the root image; the test screens are 24 bits deep, 32 bits a pixel.
QRgb pixelAt(QPoint at)
{
    const Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        connection(),
        xcb_get_image(connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, root(), static_cast<std::int16_t>(at.x()),
                      static_cast<std::int16_t>(at.y()), 1, 1, ~0u),
        nullptr));
    if (!image || xcb_get_image_data_length(image.get()) < 4)
        return 0;
    QRgb pixel = 0;
    std::memcpy(&pixel, xcb_get_image_data(image.get()), 4);
    return pixel;
}

std::uint32_t clipboardOwner()
{
    const Reply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(connection(), xcb_get_selection_owner(connection(), atom("CLIPBOARD")), nullptr));
    return reply ? reply->owner : std::uint32_t{XCB_NONE};
}

bool hasWindowManager()
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection(),
        xcb_get_property(connection(), 0, root(), atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1), nullptr));
    return reply && xcb_get_property_value_length(reply.get()) == 4;
}

bool hasNetWmState(const QWidget& window, const char* state)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection(), xcb_get_property(connection(), 0, windowOf(window), atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64),
        nullptr));
    if (!reply)
        return false;
    const auto* states = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(states, states + count, atom(state)) != states + count;
}

bool drag(QPoint from, QPoint to) { return xdotool(dragArguments(from, to)); }

bool dragWhileHandlingEvents(QPoint from, QPoint to)
{
    QProcess sender;
    QEventLoop loop;
    QObject::connect(&sender, &QProcess::finished, &loop, &QEventLoop::quit);
    sender.start(QStringLiteral("xdotool"), dragArguments(from, to));
    if (!sender.waitForStarted())
        return false;
    if (sender.state() != QProcess::NotRunning)
        loop.exec();
    return sender.exitStatus() == QProcess::NormalExit && sender.exitCode() == 0;
}

bool click(QPoint point) { return xdotool(at(point) + QStringList{QStringLiteral("click"), QStringLiteral("1")}); }

bool key(const char* keys) { return xdotool({QStringLiteral("key"), QString::fromLatin1(keys)}); }

KeyboardTakenElsewhere::KeyboardTakenElsewhere() : m_xcb(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(m_xcb))
        return;
    const xcb_window_t rootWindow = xcb_setup_roots_iterator(xcb_get_setup(m_xcb)).data->root;
    const Reply<xcb_generic_error_t> error(xcb_request_check(
        m_xcb, xcb_grab_key_checked(m_xcb, 1, rootWindow, 0, XCB_GRAB_ANY, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
    m_held = !error;
}

KeyboardTakenElsewhere::~KeyboardTakenElsewhere() { xcb_disconnect(m_xcb); }

namespace {

std::uint32_t internAtom(xcb_connection_t* xcb, const std::string& name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        xcb, xcb_intern_atom(xcb, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr));
    return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

// A window of the connection becomes the clipboard's owner, as another program's copy.
void takeClipboard(xcb_connection_t* xcb)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(xcb)).data;
    const xcb_window_t window = xcb_generate_id(xcb);
    xcb_create_window(xcb, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(xcb, window, internAtom(xcb, "CLIPBOARD"), XCB_CURRENT_TIME);
    xcb_flush(xcb);
}

// The next event, or none once ending is set: the owners poll, having nothing else to
// wake them.
XcbReply<xcb_generic_event_t> nextEvent(xcb_connection_t* xcb, const std::atomic<bool>& ending)
{
    while (!ending) {
        if (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(xcb)})
            return event;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return nullptr;
}

}  // namespace

StubbornClipboardOwner::StubbornClipboardOwner(int targets) : m_xcb(xcb_connect(nullptr, nullptr))
{
    m_targetsAtom = internAtom(m_xcb, "TARGETS");
    for (int i = 0; i < targets; ++i)
        m_targets.push_back(internAtom(m_xcb, "text/x-made-up-" + std::to_string(i)));
    takeClipboard(m_xcb);
    if (targets > 0)
        m_answering = std::thread([this] { answer(); });
}

StubbornClipboardOwner::~StubbornClipboardOwner()
{
    m_ending = true;
    if (m_answering.joinable())
        m_answering.join();
    xcb_disconnect(m_xcb);
}

void StubbornClipboardOwner::answer()
{
    while (const XcbReply<xcb_generic_event_t> event = nextEvent(m_xcb, m_ending)) {
        if ((event->response_type & 0x7F) != XCB_SELECTION_REQUEST)
            continue;
        const auto* request = reinterpret_cast<const xcb_selection_request_event_t*>(event.get());
        const bool types = request->target == m_targetsAtom;
        if (types)
            xcb_change_property(m_xcb, XCB_PROP_MODE_REPLACE, request->requestor, request->property, XCB_ATOM_ATOM, 32,
                                static_cast<std::uint32_t>(m_targets.size()), m_targets.data());
        answerSelectionRequest(m_xcb, *request, types ? request->property : xcb_atom_t{XCB_NONE});
    }
}

PartedClipboardOwner::PartedClipboardOwner(QByteArray png) : m_xcb(xcb_connect(nullptr, nullptr)), m_png(std::move(png))
{
    takeClipboard(m_xcb);
    m_serving = std::thread([this] { serve(); });
}

PartedClipboardOwner::~PartedClipboardOwner()
{
    m_ending = true;
    m_serving.join();
    xcb_disconnect(m_xcb);
}

bool PartedClipboardOwner::firstPartSent() const
{
    for (int i = 0; i < 300 && !m_firstPartSent; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return m_firstPartSent;
}

void PartedClipboardOwner::serve()
{
    while (const XcbReply<xcb_generic_event_t> event = nextEvent(m_xcb, m_ending)) {
        const int kind = event->response_type & 0x7F;
        if (kind == XCB_SELECTION_REQUEST)
            answer(*reinterpret_cast<const xcb_selection_request_event_t*>(event.get()));
        const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
        if (kind != XCB_PROPERTY_NOTIFY || change->window != m_requestor || change->atom != m_property
            || change->state != XCB_PROPERTY_DELETE)
            continue;
        while (m_partsSent > 0 && !m_restAllowed && !m_ending)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        sendNextPart();
    }
}

// The list of types, or the INCR marker that starts the parts; a part is sent each
// time the reader has deleted the one before.
void PartedClipboardOwner::answer(const xcb_selection_request_event_t& request)
{
    const xcb_atom_t png = internAtom(m_xcb, "image/png");
    if (request.target == internAtom(m_xcb, "TARGETS")) {
        const std::array<xcb_atom_t, 2> types{internAtom(m_xcb, "TARGETS"), png};
        xcb_change_property(m_xcb, XCB_PROP_MODE_REPLACE, request.requestor, request.property, XCB_ATOM_ATOM, 32,
                            types.size(), types.data());
        answerSelectionRequest(m_xcb, request, request.property);
        return;
    }
    if (request.target != png) {
        answerSelectionRequest(m_xcb, request, XCB_NONE);
        return;
    }
    m_requestor = request.requestor;
    m_property = request.property;
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_xcb, m_requestor, XCB_CW_EVENT_MASK, &events);
    const auto size = static_cast<std::uint32_t>(m_png.size());
    xcb_change_property(m_xcb, XCB_PROP_MODE_REPLACE, m_requestor, m_property, internAtom(m_xcb, "INCR"), 32, 1, &size);
    answerSelectionRequest(m_xcb, request, request.property);
}

void PartedClipboardOwner::sendNextPart()
{
    const qsizetype part = std::min(m_png.size() - m_sent, m_png.size() / 3 + 1);
    xcb_change_property(m_xcb, XCB_PROP_MODE_REPLACE, m_requestor, m_property, internAtom(m_xcb, "image/png"), 8,
                        static_cast<std::uint32_t>(part), m_png.constData() + m_sent);
    xcb_flush(m_xcb);
    m_sent += part;
    m_partsSent += 1;
    m_firstPartSent = true;
    if (part == 0)
        m_requestor = 0;  // the empty part ends the transfer
}

}  // namespace X11Desktop
