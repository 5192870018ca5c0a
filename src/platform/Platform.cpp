#include "Platform.h"

#include "DesktopSystemInformation.h"
#include "DiskFileProbe.h"
#include "FlockInstanceLock.h"
#include "X11Clipboard.h"
#include "QtDialogs.h"
#include "EarlyScreenGrabber.h"
#include "PortalScreenGrabber.h"
#include "WaylandSession.h"
#include "WlClipboard.h"
#include "X11PointerPositions.h"
#include "X11PrintKey.h"
#include "X11ScreenGrabber.h"
#include "X11WindowStacking.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace {

// The Print key of a Wayland session belongs to the compositor.
class NoPrintKey final : public PrintKey
{
public:
    PrintKeyHold take(std::function<void()>) override { return PrintKeyHold::Unavailable; }
    void release() override {}
};

bool isWaylandSession() { return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

// On Wayland the clipboard is watched through the compositor's clipboard control
// where it offers one; under mutter through XWayland, which sees every copy there;
// elsewhere through XWayland too, which shows it only to the focused window, and the
// window says so.
std::unique_ptr<Clipboard> clipboardFor(bool wayland, const WaylandOffer& offer)
{
    if (!wayland)
        return std::make_unique<X11Clipboard>();
    if (offer.clipboardControl)
        if (std::unique_ptr<DataControlSession> session = DataControlSession::connect())
            return std::make_unique<WlClipboard>(std::move(session));
    return std::make_unique<X11Clipboard>(offer.clipboardSharedWithXWayland);
}

// Every compositor keeps windows that bypass the window manager (the desktop copy)
// above all the windows it manages; an X11 window manager stacks them as told.
CopyLayering copyLayeringFor(bool wayland, const WaylandOffer& offer)
{
    if (!wayland)
        return CopyLayering::Restack;
    return offer.transientsAboveFullScreen ? CopyLayering::TransientsOfFullScreen : CopyLayering::MapOrder;
}

}  // namespace

Platform makeDesktopPlatform(std::future<ScreenShot> earlyScreen)
{
    const bool wayland = isWaylandSession();
    const WaylandOffer offer = wayland ? waylandOffer() : WaylandOffer{};
    Platform platform;
    platform.dialogs = std::make_unique<QtDialogs>();
    platform.instanceLock = std::make_unique<FlockInstanceLock>(FlockInstanceLock::defaultPath());
    platform.screen = makeDesktopScreenGrabber();
    if (earlyScreen.valid())
        platform.screen = std::make_unique<EarlyScreenGrabber>(std::move(earlyScreen), std::move(platform.screen));
    platform.files = std::make_unique<DiskFileProbe>();
    platform.stacking = std::make_unique<X11WindowStacking>(copyLayeringFor(wayland, offer));
    platform.pointer = std::make_unique<X11PointerPositions>();
    platform.clipboard = clipboardFor(wayland, offer);
    platform.systemInformation = std::make_unique<DesktopSystemInformation>();
    if (wayland)
        platform.printKey = std::make_unique<NoPrintKey>();
    else
        platform.printKey = std::make_unique<X11PrintKey>();
    return platform;
}

std::unique_ptr<ScreenGrabber> makeDesktopScreenGrabber()
{
    if (isWaylandSession())
        return std::make_unique<PortalScreenGrabber>(std::make_unique<X11ScreenGrabber>());
    return std::make_unique<X11ScreenGrabber>();
}

std::future<ScreenShot> takeScreenEarly()
{
    return isWaylandSession() ? std::future<ScreenShot>() : takeX11ScreenEarly();
}

std::unique_ptr<Clipboard> makeDesktopClipboard()
{
    const bool wayland = isWaylandSession();
    return clipboardFor(wayland, wayland ? waylandOffer() : WaylandOffer{});
}

QByteArray executableFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof path)
        return QFile::encodeName(QCoreApplication::applicationDirPath());
    QByteArray file(path, length);
    return file.left(std::max<qsizetype>(file.lastIndexOf('/'), 1));
}

void preferX11Windows()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}
