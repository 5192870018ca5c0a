#pragma once
// Where the program's files live. The application folder is the executable's folder
// with a trailing "/"; Set.ini sits there, except for an installed program whose
// folder cannot hold it, which keeps Set.ini in $XDG_CONFIG_HOME/scrimble/.

#include <QString>

namespace ApplicationFolder {

// "/usr/bin" -> "/usr/bin/", "/" stays "/".
[[nodiscard]] QString fromExecutableFolder(const QString& executableFolder);

struct SettingsPlace {
    bool folderWritable = false;  // the application folder accepts new files
    bool settingsExist = false;   // Set.ini is already there
    QString xdgConfigHome;        // $XDG_CONFIG_HOME, may be empty
    QString home;                 // $HOME
};

// The folder (with trailing "/") that holds Set.ini: the application folder when it
// can hold the file, else $XDG_CONFIG_HOME/scrimble/ (default ~/.config/scrimble/).
[[nodiscard]] QString settingsFolder(const QString& applicationFolder, const SettingsPlace& place);

// settingsFolder for this machine: asks the disk and the environment, and creates the
// XDG folder when it is chosen. Returns the full path of Set.ini.
[[nodiscard]] QString settingsPath(const QString& applicationFolder);

}  // namespace ApplicationFolder
