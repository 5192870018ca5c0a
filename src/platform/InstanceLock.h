#pragma once
// "Is another instance of the program already running?" The first instance takes a
// per-user lock at program start and holds it for its whole life.

#include <QString>

class InstanceLock
{
public:
    virtual ~InstanceLock() = default;
    // true when this process holds the lock (it is the first instance). false also
    // when the lock could not be used safely; problem() then says why.
    [[nodiscard]] virtual bool isFirstInstance() const = 0;
    // Empty, or why the lock could not be used: someone else's lock file, a folder
    // others may write, a file that cannot be opened.
    [[nodiscard]] virtual QString problem() const = 0;
};
