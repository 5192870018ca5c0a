#pragma once
// The platform services of one run, chosen in one place: makeDesktopPlatform() for the
// program, test doubles for the tests. Owned by the application object.

#include "Clipboard.h"
#include "Dialogs.h"
#include "FileProbe.h"
#include "InstanceLock.h"
#include "PointerPositions.h"
#include "PrintKey.h"
#include "ScreenGrabber.h"
#include "SystemInformation.h"
#include "WindowStacking.h"

#include <QByteArray>

#include <future>
#include <memory>

struct Platform {
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<InstanceLock> instanceLock;
    std::unique_ptr<ScreenGrabber> screen;
    std::unique_ptr<FileProbe> files;
    std::unique_ptr<WindowStacking> stacking;
    std::unique_ptr<PointerPositions> pointer;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<SystemInformation> systemInformation;
    std::unique_ptr<PrintKey> printKey;
};

// X11 services on an X11 desktop; on a Wayland desktop (the windows on XWayland) the
// screen through the desktop portal and the clipboard through wl-clipboard.
// earlyScreen, from takeScreenEarly(), is the first grab's picture.
[[nodiscard]] Platform makeDesktopPlatform(std::future<ScreenShot> earlyScreen = {});
// On an X11 desktop, begins taking the screen at once, on a thread of its own: called
// before the QApplication exists, the grab overlaps the start of Qt. No grab (an
// invalid future) on Wayland, where the desktop hands the screen over when asked.
[[nodiscard]] std::future<ScreenShot> takeScreenEarly();
// The two services a screenshot without windows needs, chosen as for makeDesktopPlatform()
// and without taking the single-instance lock. Need the QGuiApplication.
[[nodiscard]] std::unique_ptr<ScreenGrabber> makeDesktopScreenGrabber();
[[nodiscard]] std::unique_ptr<Clipboard> makeDesktopClipboard();

// The folder of the running program file, as the file system's bytes (a name that is
// not UTF-8 stays as it is).
[[nodiscard]] QByteArray executableFolder();

// Call before the QApplication exists. On a Wayland desktop that also offers X11
// (XWayland) the windows then run on X11 too: a full-screen copy must sit exactly on
// the screen the grabber reads, and Wayland does not let windows place themselves.
// An explicit QT_QPA_PLATFORM is left alone.
void preferX11Windows();
