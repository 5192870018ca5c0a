#pragma once
// A desktop without a system-information program.

#include "platform/SystemInformation.h"

class FakeSystemInformation final : public SystemInformation
{
public:
    bool start() override { return false; }
};
