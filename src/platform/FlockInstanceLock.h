#pragma once
// The single-instance lock: an exclusive flock on a per-user file, taken when the
// object is built and held until it is destroyed or the process ends. The kernel drops
// the lock of a process that dies, so a crash leaves no stale lock behind.

#include "InstanceLock.h"

#include <QString>

class FlockInstanceLock final : public InstanceLock
{
public:
    explicit FlockInstanceLock(const QString& path);
    ~FlockInstanceLock() override;
    FlockInstanceLock(const FlockInstanceLock&) = delete;
    FlockInstanceLock& operator=(const FlockInstanceLock&) = delete;

    // A lock file that cannot be opened or locked counts as first: a program that cannot
    // tell must not refuse to run.
    [[nodiscard]] bool isFirstInstance() const override { return m_first; }

    // $XDG_RUNTIME_DIR/scrimble.lock, or /tmp/scrimble-<uid>.lock without it.
    [[nodiscard]] static QString defaultPath();

private:
    int m_fd = -1;
    bool m_first = true;
};
