#include "AuthorizingEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

QString EntryPath(const QString& name)
{
    return QDir::homePath() + QStringLiteral("/.local/share/applications/%1.desktop").arg(name);
}

// kbuildsycoca5 updates KWin's index of the desktop entries, which KWin looks at again
// no sooner than 1.5 s after its last look.
void RebuildEntryIndex()
{
    QProcess::execute(QStringLiteral("kbuildsycoca5"), {});
    QTest::qWait(2000);
}

AuthorizingEntry::AuthorizingEntry(const QString& name, const QString& program) : m_path(EntryPath(name))
{
    QDir().mkpath(QFileInfo(m_path).path());
    QFile entry(m_path);
    m_written = entry.open(QIODevice::WriteOnly)
                && entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Scrimble test\nExec=%1\n"
                                              "X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2\n")
                                   .arg(program)
                                   .toUtf8())
                       > 0;
    entry.close();
    RebuildEntryIndex();
}

AuthorizingEntry::~AuthorizingEntry()
{
    QFile::remove(m_path);
    RebuildEntryIndex();
}
