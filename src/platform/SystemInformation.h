#pragma once
// The desktop's own system-information program.

class SystemInformation
{
public:
    virtual ~SystemInformation() = default;
    // Starts the program on its own, not waited for; false when there is none or it
    // could not be started.
    virtual bool start() = 0;
};
