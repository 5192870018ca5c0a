#pragma once
// The system's own information program (Windows: the one the registry names).

class SystemInformation
{
public:
    virtual ~SystemInformation() = default;
    // Starts the program on its own, not waited for; false when there is none or it
    // could not be started.
    virtual bool start() = 0;
};
