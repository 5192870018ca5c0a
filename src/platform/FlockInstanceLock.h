#pragma once
// The single-instance lock: an exclusive flock on a file in a folder only this user
// controls, taken when the object is built and held until it is destroyed or the
// process ends. The kernel drops the lock of a process that dies, so a crash leaves
// no stale lock behind. A lock file someone else could have planted or may change
// is not used: that is reported as a problem, never taken for another instance.

#include "InstanceLock.h"

#include <QCoreApplication>

class FlockInstanceLock final : public InstanceLock
{
    Q_DECLARE_TR_FUNCTIONS(FlockInstanceLock)

public:
    explicit FlockInstanceLock(const QString& path);
    ~FlockInstanceLock() override;
    FlockInstanceLock(const FlockInstanceLock&) = delete;
    FlockInstanceLock& operator=(const FlockInstanceLock&) = delete;

    [[nodiscard]] bool isFirstInstance() const override { return m_first; }
    [[nodiscard]] QString problem() const override { return m_problem; }

    // $XDG_RUNTIME_DIR/scrimble.lock when that folder exists and is the user's own;
    // else scrimble.lock in the private folder /tmp/scrimble-<uid>, made here (0700)
    // when missing.
    [[nodiscard]] static QString defaultPath();

private:
    [[nodiscard]] QString take(const QString& path);

    int m_fd = -1;
    bool m_first = false;
    QString m_problem;
};
