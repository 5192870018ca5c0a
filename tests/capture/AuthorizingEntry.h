#pragma once
// A desktop entry in the user's applications folder that lets a program take KWin's
// screenshots (org.kde.KWin.ScreenShot2), as the installed entry does for Scrimble,
// removed again at the end. KWin looks the entries up in its index, rebuilt here.

#include <QString>

// The entry's path for a name (without ".desktop").
[[nodiscard]] QString EntryPath(const QString& name);

// Has KWin's index rebuilt and waits until KWin may look at it again.
void RebuildEntryIndex();

class AuthorizingEntry
{
public:
    // program: the full path of the program the entry authorizes.
    AuthorizingEntry(const QString& name, const QString& program);
    ~AuthorizingEntry();
    AuthorizingEntry(const AuthorizingEntry&) = delete;
    AuthorizingEntry& operator=(const AuthorizingEntry&) = delete;
    [[nodiscard]] bool written() const { return m_written; }

private:
    QString m_path;
    bool m_written = false;
};
