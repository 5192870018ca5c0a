#pragma once
// An instance lock whose answer the test sets: first = false plays a second instance.

#include "platform/InstanceLock.h"

class FakeInstanceLock final : public InstanceLock
{
public:
    bool first = true;
    [[nodiscard]] bool isFirstInstance() const override { return first; }
};
