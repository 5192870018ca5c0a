#pragma once
// "Is another instance of the program already running?" The first instance takes a
// per-user lock at program start and holds it for its whole life.

class InstanceLock
{
public:
    virtual ~InstanceLock() = default;
    // true when this process holds the lock (it is the first instance).
    [[nodiscard]] virtual bool isFirstInstance() const = 0;
};
