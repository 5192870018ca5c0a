// The single-instance lock across real processes: a second process is refused while
// the first lives, and is let in once the first has died, however it died.
#include "platform/FlockInstanceLock.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Exit status of a child that tries the lock: 0 first instance, 1 refused.
int childTries(const QString& path)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const FlockInstanceLock lock(path);
        ::_exit(lock.isFirstInstance() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FlockInstanceLockTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("scrimble.lock"));
};

TEST_F(FlockInstanceLockTest, SecondProcessIsRefusedWhileFirstHolds)
{
    const FlockInstanceLock first(m_path);
    ASSERT_TRUE(first.isFirstInstance());
    EXPECT_EQ(childTries(m_path), 1);
}

TEST_F(FlockInstanceLockTest, ReleasedWhenTheHolderGoes)
{
    {
        const FlockInstanceLock first(m_path);
        ASSERT_EQ(childTries(m_path), 1);
    }
    EXPECT_EQ(childTries(m_path), 0);
}

TEST_F(FlockInstanceLockTest, KilledHolderLeavesNoStaleLock)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const FlockInstanceLock lock(m_path);
        const char held = lock.isFirstInstance() ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        for (;;)
            ::pause();
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    EXPECT_FALSE(FlockInstanceLock(m_path).isFirstInstance());

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(QFile::exists(m_path)) << "the crash left its lock file behind";
    EXPECT_TRUE(FlockInstanceLock(m_path).isFirstInstance());
}

// A lock someone else could have planted, or may change, is a problem to report,
// never taken for another instance. setup() prepares the folder and names the lock
// path; false: the case needs root here.
struct UnusableCase {
    const char* name;
    std::function<bool(const QString& folder, QString& path)> setup;
};

class UnusableLock : public ::testing::TestWithParam<UnusableCase>
{};

TEST_P(UnusableLock, IsAProblemNotAnotherInstance)
{
    QTemporaryDir dir;
    QString path;
    if (!GetParam().setup(dir.path(), path))
        GTEST_SKIP() << "needs root to hand a file to another user";
    const FlockInstanceLock lock(path);
    EXPECT_FALSE(lock.isFirstInstance());
    EXPECT_FALSE(lock.problem().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Locks, UnusableLock,
    ::testing::Values(UnusableCase{"ParentIsAFile",
                                   [](const QString& folder, QString& path) {
                                       QFile(folder + QStringLiteral("/file")).open(QIODevice::WriteOnly);
                                       path = folder + QStringLiteral("/file/scrimble.lock");
                                       return true;
                                   }},
                      UnusableCase{"FolderOthersMayWrite",
                                   [](const QString& folder, QString& path) {
                                       ::chmod(QFile::encodeName(folder).constData(), 0777);
                                       path = folder + QStringLiteral("/scrimble.lock");
                                       return true;
                                   }},
                      UnusableCase{"PlantedLink",
                                   [](const QString& folder, QString& path) {
                                       path = folder + QStringLiteral("/scrimble.lock");
                                       return QFile::link(folder + QStringLiteral("/elsewhere"), path);
                                   }},
                      UnusableCase{"AnotherUsersFile",
                                   [](const QString& folder, QString& path) {
                                       path = folder + QStringLiteral("/scrimble.lock");
                                       QFile(path).open(QIODevice::WriteOnly);
                                       return ::geteuid() == 0
                                              && ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0;
                                   }}),
    [](const ::testing::TestParamInfo<UnusableCase>& info) { return std::string(info.param.name); });

TEST_F(FlockInstanceLockTest, DefaultPathIsPerUserAndPrivate)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const QString fallback = QStringLiteral("/tmp/scrimble-%1/scrimble.lock").arg(::getuid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
    EXPECT_EQ(FlockInstanceLock::defaultPath(), m_path);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("missing"))));
    EXPECT_EQ(FlockInstanceLock::defaultPath(), fallback);
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(FlockInstanceLock::defaultPath(), fallback);
    EXPECT_TRUE(FlockInstanceLock(fallback).problem().isEmpty());
    qputenv("XDG_RUNTIME_DIR", saved);
}

}  // namespace
