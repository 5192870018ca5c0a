#include "FlockInstanceLock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder that is this user's alone: a real folder (no link), owned by the user,
// writable by nobody else.
bool isPrivateFolder(const QByteArray& folder)
{
    struct stat info {};
    return ::lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()
           && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString systemError(const QString& path)
{
    return FlockInstanceLock::tr("多重起動防止のロックファイル %1 を使用できません（%2）。")
        .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

FlockInstanceLock::FlockInstanceLock(const QString& path) { m_problem = take(path); }

FlockInstanceLock::~FlockInstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString FlockInstanceLock::take(const QString& path)
{
    const QString folder = QFileInfo(path).path();
    if (!isPrivateFolder(QFile::encodeName(folder)))
        return tr("多重起動防止のロックファイルを使用できません（フォルダ %1 はこのユーザー専用ではありません）。")
            .arg(folder);
    // O_NOFOLLOW: a planted link must not make us open a file elsewhere.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0)
        return systemError(path);
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid())
        return tr("多重起動防止のロックファイル %1 を使用できません（このユーザーのファイルではありません）。")
            .arg(path);
    int result = 0;
    do {
        result = ::flock(m_fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    m_first = result == 0;
    return m_first || errno == EWOULDBLOCK ? QString() : systemError(path);
}

QString FlockInstanceLock::defaultPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.startsWith(u'/') && isPrivateFolder(QFile::encodeName(runtime)))
        return runtime + QStringLiteral("/scrimble.lock");
    const QString folder = QStringLiteral("/tmp/scrimble-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder + QStringLiteral("/scrimble.lock");
}
