#include "Platform.h"

#include "DiskFileProbe.h"
#include "FlockInstanceLock.h"
#include "QtDialogs.h"
#include "X11ScreenGrabber.h"
#include "X11WindowStacking.h"

Platform makeX11Platform()
{
    Platform platform;
    platform.dialogs = std::make_unique<QtDialogs>();
    platform.instanceLock = std::make_unique<FlockInstanceLock>(FlockInstanceLock::defaultPath());
    platform.screen = std::make_unique<X11ScreenGrabber>();
    platform.files = std::make_unique<DiskFileProbe>();
    platform.stacking = std::make_unique<X11WindowStacking>();
    return platform;
}

void preferX11Windows()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}
