#include "ApplicationFolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray SettingsFileName = "Set.ini";

bool canCreateFileIn(const QByteArray& folder)
{
    struct stat info {};
    return ::stat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(folder.constData(), W_OK) == 0;
}

}  // namespace

namespace ApplicationFolder {

QByteArray fromExecutableFolder(const QByteArray& executableFolder)
{
    return executableFolder.endsWith('/') ? executableFolder : executableFolder + '/';
}

QByteArray settingsFolder(const QByteArray& applicationFolder, const SettingsPlace& place)
{
    if ((place.folderWritable || place.settingsExist) && applicationFolder != "/" && !place.installed)
        return applicationFolder;
    const QByteArray configHome = place.xdgConfigHome.startsWith('/') ? place.xdgConfigHome : place.home + "/.config";
    return fromExecutableFolder(configHome) + "scrimble/";
}

QByteArray settingsPath(const QByteArray& applicationFolder)
{
    SettingsPlace place;
    place.folderWritable = canCreateFileIn(applicationFolder);
    place.settingsExist = ::access((applicationFolder + SettingsFileName).constData(), F_OK) == 0;
    place.xdgConfigHome = qgetenv("XDG_CONFIG_HOME");
    place.home = QFile::encodeName(QDir::homePath());
    place.installed = ::access((applicationFolder + "../share/applications/scrimble.desktop").constData(), F_OK) == 0;
    return settingsFolder(applicationFolder, place) + SettingsFileName;
}

}  // namespace ApplicationFolder
