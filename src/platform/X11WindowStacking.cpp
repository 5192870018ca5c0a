#include "X11WindowStacking.h"

#include "MonitorSpan.h"
#include "XcbReply.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>
#include <xcb/xinerama.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// XWayland hands a window's picture to the compositor some frames after the window
// is exposed and painted, a screen-sized one the latest.
constexpr int CopyReachesCompositorMs = 150;

using TreeReply = XcbReply<xcb_query_tree_reply_t>;

TreeReply queryTree(xcb_connection_t* xcb, xcb_window_t window)
{
    return TreeReply(xcb_query_tree_reply(xcb, xcb_query_tree(xcb, window), nullptr));
}

// The child of the root that holds window: the frame a window manager has put it in,
// or the window itself. 0 when the window is gone.
xcb_window_t topLevelOf(xcb_connection_t* xcb, xcb_window_t window)
{
    for (;;) {
        const TreeReply tree = queryTree(xcb, window);
        if (!tree)
            return 0;
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE)
            return window;
        window = tree->parent;
    }
}

// The monitors in the order the window manager numbers them.
std::vector<QRect> xineramaMonitors(xcb_connection_t* xcb)
{
    std::vector<QRect> monitors;
    const XcbReply<xcb_xinerama_query_screens_reply_t> screens(
        xcb_xinerama_query_screens_reply(xcb, xcb_xinerama_query_screens(xcb), nullptr));
    if (!screens)
        return monitors;
    const xcb_xinerama_screen_info_t* info = xcb_xinerama_query_screens_screen_info(screens.get());
    const int count = xcb_xinerama_query_screens_screen_info_length(screens.get());
    for (int i = 0; i < count; ++i)
        monitors.emplace_back(info[i].x_org, info[i].y_org, info[i].width, info[i].height);
    return monitors;
}

xcb_atom_t atomNamed(xcb_connection_t* xcb, std::string_view name)
{
    const XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        xcb, xcb_intern_atom(xcb, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return atom ? atom->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// A full-screen window covers the one monitor it is on unless the window manager is
// asked for more (as EWMH has clients ask); asked each time the copy is shown, as the
// monitors may have changed.
void spanEveryMonitor(const QWindow& copy)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t* xcb = x11->connection();
    const auto window = static_cast<xcb_window_t>(copy.winId());
    const std::optional<MonitorSpan> span = SpanOfAllMonitors(xineramaMonitors(xcb));
    const TreeReply tree = queryTree(xcb, window);
    if (!span || !tree)
        return;
    constexpr std::uint32_t FromAnApplication = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atomNamed(xcb, "_NET_WM_FULLSCREEN_MONITORS");
    const std::array<int, 4> sides{span->top, span->bottom, span->left, span->right};
    std::copy(sides.begin(), sides.end(), message.data.data32);
    message.data.data32[4] = FromAnApplication;
    xcb_send_event(xcb, 0, tree->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(xcb);
}

}  // namespace

X11WindowStacking::X11WindowStacking(CopyLayering layering) : m_layering(layering)
{
    m_copyArrival.setSingleShot(true);
    m_copyArrival.setInterval(CopyReachesCompositorMs);
    connect(&m_copyArrival, &QTimer::timeout, this, &X11WindowStacking::mapArrivedAgain);
}

void X11WindowStacking::prepareCopy(QWidget& copy)
{
    if (m_layering == CopyLayering::TransientsOfFullScreen) {
        copy.setWindowFlag(Qt::X11BypassWindowManagerHint, false);
        copy.winId();
        copy.windowHandle()->installEventFilter(this);
    }
    if (m_layering == CopyLayering::MapOrder) {
        m_copy = &copy;
        watchShows(copy);
    }
}

void X11WindowStacking::prepareInFront(QWidget& window, QWidget& copy)
{
    if (m_layering == CopyLayering::MapOrder) {
        window.setWindowFlag(Qt::X11BypassWindowManagerHint, true);
        watchShows(window);
    } else if (m_layering == CopyLayering::TransientsOfFullScreen) {
        window.winId();
        copy.winId();
        window.windowHandle()->setTransientParent(copy.windowHandle());
        std::erase_if(m_transients, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
        m_transients.emplace_back(&window);
    }
}

void X11WindowStacking::placeBelow(QWidget& window, const std::vector<QWidget*>& inFront)
{
    if (m_layering == CopyLayering::Restack)
        restackBelow(window, inFront);
    else if (m_layering == CopyLayering::MapOrder)
        mapAgainAbove(window, inFront);
    else
        raiseAbove(inFront);
}

// A transient shown before the window manager had taken on the copy is stacked as
// any other window, below the full-screen copy: raised, it goes back above, when it
// is exposed and when the copy is.
void X11WindowStacking::raiseAbove(const std::vector<QWidget*>& inFront)
{
    for (QWidget* front : inFront)
        if (front && front->isVisible())
            front->raise();
}

void X11WindowStacking::watchShows(QWidget& window)
{
    window.installEventFilter(this);
    connect(&window, &QObject::destroyed, this, [this](QObject* gone) { m_shownAt.erase(gone); });
}

bool X11WindowStacking::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        m_shownAt[watched] = ++m_shows;
        if (watched == m_copy && m_copy->windowHandle()) {
            m_copy->windowHandle()->installEventFilter(this);
            m_copyArriving = true;
            m_copyArrival.stop();
        }
    }
    if (event->type() == QEvent::Expose && m_copy && watched == m_copy->windowHandle()
        && m_copy->windowHandle()->isExposed() && m_copyArriving && !m_copyArrival.isActive())
        m_copyArrival.start();
    if (event->type() == QEvent::Expose && m_layering == CopyLayering::TransientsOfFullScreen) {
        const auto& copy = *static_cast<QWindow*>(watched);
        if (copy.isExposed() && !m_copyMadeFullScreen)
            spanEveryMonitor(copy);
        m_copyMadeFullScreen = copy.isExposed();
        raiseAbove({m_transients.begin(), m_transients.end()});
    }
    return QObject::eventFilter(watched, event);
}

// A window in front that was mapped before the copy is mapped again. The compositor
// stacks the windows in the order their first pictures reach it, not the order they
// were mapped in, so until the copy shown last has reached it the windows wait.
// (Hidden and shown again at once, the copy would still count as exposed to Qt.)
void X11WindowStacking::mapAgainAbove(QWidget& window, const std::vector<QWidget*>& inFront)
{
    if (m_copyArriving || !window.isVisible()) {
        m_waitingInFront.assign(inFront.begin(), inFront.end());
        return;
    }
    for (QWidget* front : inFront)
        if (front && front->isVisible() && m_shownAt[front] <= m_shownAt[&window])
            mapAgain(*front);
}

// Once the copy's first picture has reached the compositor: a waiting window already
// exposed may have reached it first, whatever the order they were mapped in, and is
// mapped again.
void X11WindowStacking::mapArrivedAgain()
{
    m_copyArriving = false;
    const std::vector<QPointer<QWidget>> waiting = std::exchange(m_waitingInFront, {});
    for (const QPointer<QWidget>& front : waiting)
        if (front && front->isVisible() && front->windowHandle() && front->windowHandle()->isExposed())
            mapAgain(*front);
}

// One that had the keyboard keeps it.
void X11WindowStacking::mapAgain(QWidget& front)
{
    const bool active = front.isActiveWindow();
    front.hide();
    front.show();
    if (active)
        front.activateWindow();
}

void X11WindowStacking::restackBelow(QWidget& window, const std::vector<QWidget*>& inFront)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window.windowHandle())
        return;
    xcb_connection_t* xcb = x11->connection();
    const auto own = static_cast<xcb_window_t>(window.winId());
    const TreeReply tree = queryTree(xcb, own);
    if (!tree)
        return;
    const TreeReply rootTree = queryTree(xcb, tree->root);
    if (!rootTree)
        return;
    // Children of the root, bottom first.
    const xcb_window_t* stack = xcb_query_tree_children(rootTree.get());
    const int count = xcb_query_tree_children_length(rootTree.get());
    int lowest = count;
    for (const QWidget* front : inFront) {
        if (!front || !front->isVisible() || !front->windowHandle())
            continue;
        const xcb_window_t top = topLevelOf(xcb, static_cast<xcb_window_t>(front->winId()));
        lowest = std::min(lowest, static_cast<int>(std::find(stack, stack + count, top) - stack));
    }
    const xcb_window_t self = topLevelOf(xcb, own);
    if (lowest == count || self == 0 || stack[lowest] == self)
        return;
    const std::uint32_t values[] = {stack[lowest], XCB_STACK_MODE_BELOW};
    xcb_configure_window(xcb, self, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
    xcb_flush(xcb);
}
