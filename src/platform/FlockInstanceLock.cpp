#include "FlockInstanceLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FlockInstanceLock::FlockInstanceLock(const QString& path)
{
    // O_NOFOLLOW: in a shared /tmp, a planted link must not make us create files elsewhere.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0)
        return;
    int result = 0;
    do {
        result = ::flock(m_fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    m_first = result == 0 || errno != EWOULDBLOCK;
}

FlockInstanceLock::~FlockInstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString FlockInstanceLock::defaultPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.startsWith(u'/'))
        return runtime + QStringLiteral("/scrimble.lock");
    return QStringLiteral("/tmp/scrimble-%1.lock").arg(::getuid());
}
