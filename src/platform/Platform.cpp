#include "Platform.h"

#include "DesktopSystemInformation.h"
#include "DiskFileProbe.h"
#include "FlockInstanceLock.h"
#include "QtClipboard.h"
#include "QtDialogs.h"
#include "X11PrintKey.h"
#include "X11ScreenGrabber.h"
#include "X11WindowStacking.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <climits>
#include <unistd.h>

Platform makeX11Platform()
{
    Platform platform;
    platform.dialogs = std::make_unique<QtDialogs>();
    platform.instanceLock = std::make_unique<FlockInstanceLock>(FlockInstanceLock::defaultPath());
    platform.screen = std::make_unique<X11ScreenGrabber>();
    platform.files = std::make_unique<DiskFileProbe>();
    platform.stacking = std::make_unique<X11WindowStacking>();
    platform.clipboard = std::make_unique<QtClipboard>();
    platform.systemInformation = std::make_unique<DesktopSystemInformation>();
    platform.printKey = std::make_unique<X11PrintKey>();
    return platform;
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
