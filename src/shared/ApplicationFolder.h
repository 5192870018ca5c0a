#pragma once
// Where the program's files live. The application folder is the executable's folder
// with a trailing "/"; Set.ini sits there, except for an installed program (its
// desktop entry in ../share/applications beside the folder) or one whose folder
// cannot hold it (and for a program in the file-system root, where nothing of ours
// belongs), which keeps Set.ini in $XDG_CONFIG_HOME/scrimble/. Paths are the file
// system's bytes, so that a folder name that is not UTF-8 (a Shift-JIS name from a
// Windows archive) is used as it is.

#include <QByteArray>

namespace ApplicationFolder {

// "/usr/bin" -> "/usr/bin/", "/" stays "/".
[[nodiscard]] QByteArray fromExecutableFolder(const QByteArray& executableFolder);

struct SettingsPlace {
    bool folderWritable = false;  // the application folder accepts new files
    bool settingsExist = false;   // Set.ini is already there
    QByteArray xdgConfigHome;     // $XDG_CONFIG_HOME, may be empty
    QByteArray home;              // $HOME
    bool installed = false;       // installed with its desktop entry: a system folder even for root
};

// The folder (with trailing "/") that holds Set.ini: the application folder when it
// can hold the file, is not the root and the program is not installed, else
// $XDG_CONFIG_HOME/scrimble/ (default ~/.config/scrimble/).
[[nodiscard]] QByteArray settingsFolder(const QByteArray& applicationFolder, const SettingsPlace& place);

// settingsFolder for this machine, from the disk and the environment, followed by
// "Set.ini". Creates nothing: the first write makes a missing XDG folder.
[[nodiscard]] QByteArray settingsPath(const QByteArray& applicationFolder);

}  // namespace ApplicationFolder
