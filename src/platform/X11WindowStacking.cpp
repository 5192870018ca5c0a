#include "X11WindowStacking.h"

#include "XcbReply.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

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

}  // namespace

X11WindowStacking::X11WindowStacking(CopyLayering layering) : m_layering(layering) {}

void X11WindowStacking::prepareCopy(QWidget& copy)
{
    if (m_layering == CopyLayering::TransientsOfFullScreen) {
        copy.setWindowFlag(Qt::X11BypassWindowManagerHint, false);
        copy.winId();
        copy.windowHandle()->installEventFilter(this);
    }
    if (m_layering == CopyLayering::MapOrder)
        watchShows(copy);
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
    if (event->type() == QEvent::Show)
        m_shownAt[watched] = ++m_shows;
    if (event->type() == QEvent::Expose && m_layering == CopyLayering::TransientsOfFullScreen)
        raiseAbove({m_transients.begin(), m_transients.end()});
    return QObject::eventFilter(watched, event);
}

// A window in front that was mapped before the copy is mapped again; one that had the
// keyboard keeps it.
void X11WindowStacking::mapAgainAbove(QWidget& window, const std::vector<QWidget*>& inFront)
{
    for (QWidget* front : inFront) {
        if (!front || !front->isVisible() || m_shownAt[front] > m_shownAt[&window])
            continue;
        const bool active = front->isActiveWindow();
        front->hide();
        front->show();
        if (active)
            front->activateWindow();
    }
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
