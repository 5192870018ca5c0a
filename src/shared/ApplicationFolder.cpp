#include "ApplicationFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString SettingsFileName = QStringLiteral("Set.ini");

bool canCreateFileIn(const QString& folder)
{
    return QFileInfo(folder).isDir() && QFileInfo(folder).isWritable();
}

}  // namespace

namespace ApplicationFolder {

QString fromExecutableFolder(const QString& executableFolder)
{
    return executableFolder.endsWith(u'/') ? executableFolder : executableFolder + u'/';
}

QString settingsFolder(const QString& applicationFolder, const SettingsPlace& place)
{
    if (place.folderWritable || place.settingsExist)
        return applicationFolder;
    const QString configHome = place.xdgConfigHome.startsWith(u'/')
                                   ? place.xdgConfigHome
                                   : place.home + QStringLiteral("/.config");
    return fromExecutableFolder(configHome) + QStringLiteral("scrimble/");
}

QString settingsPath(const QString& applicationFolder)
{
    SettingsPlace place;
    place.folderWritable = canCreateFileIn(applicationFolder);
    place.settingsExist = QFileInfo::exists(applicationFolder + SettingsFileName);
    place.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    place.home = QDir::homePath();
    const QString folder = settingsFolder(applicationFolder, place);
    if (folder != applicationFolder)
        QDir().mkpath(folder);
    return folder + SettingsFileName;
}

}  // namespace ApplicationFolder
