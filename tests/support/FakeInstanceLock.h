#pragma once
// An instance lock whose answer the test sets: first = false plays a second instance,
// and with a problem text an unusable lock.

#include "platform/InstanceLock.h"

class FakeInstanceLock final : public InstanceLock
{
public:
    bool first = true;
    QString problemText;
    [[nodiscard]] bool isFirstInstance() const override { return first; }
    [[nodiscard]] QString problem() const override { return problemText; }
};
