#pragma once
// Stacking for tests without an X server of their own to restack on: leaves every
// window where it is.

#include "platform/WindowStacking.h"

class FakeWindowStacking final : public WindowStacking
{
public:
    void prepareCopy(QWidget&) override {}
    void prepareInFront(QWidget&, QWidget&) override {}
    void placeBelow(QWidget&, const std::vector<QWidget*>&) override {}
};
