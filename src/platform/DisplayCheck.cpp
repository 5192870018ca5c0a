#include "DisplayCheck.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

// The X screen DISPLAY names: reachable, existing, and of a kind the windows can draw on.
QString x11ScreenProblem()
{
    const QString display = qEnvironmentVariable("DISPLAY");
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, Disconnect> connection(xcb_connect(nullptr, &screenNumber));
    const int error = xcb_connection_has_error(connection.get());
    auto screens = error ? xcb_screen_iterator_t{} : xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (error == XCB_CONN_CLOSED_INVALID_SCREEN || (!error && screens.rem == 0)) {
        char* host = nullptr;
        int displayNumber = 0;
        if (xcb_parse_display(nullptr, &host, &displayNumber, &screenNumber))
            std::free(host);
        return QStringLiteral("the X display %1 has no screen %2").arg(display).arg(screenNumber);
    }
    if (error)
        return QStringLiteral("cannot open the X display %1: no X server answers there").arg(display);
    for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem; xcb_depth_next(&depths))
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == screens.data->root_visual
                && (visuals.data->_class != XCB_VISUAL_CLASS_TRUE_COLOR || screens.data->root_depth < 15))
                return QStringLiteral("the X screen %1 has %2-bit colour through a palette; a true-colour screen "
                                      "of 15 bits or more is needed")
                    .arg(display)
                    .arg(screens.data->root_depth);
    return {};
}

}  // namespace

QString unusableDisplayReason()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith(QStringLiteral("xcb")))
        return {};
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                   ? QStringLiteral("no display: DISPLAY is not set; start Scrimble from a desktop session")
                   : QStringLiteral("this Wayland session offers no X11 (XWayland), on which Scrimble's windows "
                                    "run: install XWayland (Debian: xwayland) or start Scrimble from an X11 session");
    return x11ScreenProblem();
}
