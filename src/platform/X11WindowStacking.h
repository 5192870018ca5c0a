#pragma once
// Window stacking through the X server, on Qt's own connection so that it comes in
// order after Qt's requests (a raise of the same window, say). Does nothing when Qt
// does not run on X11.

#include "WindowStacking.h"

class X11WindowStacking final : public WindowStacking
{
public:
    void placeBelow(QWidget& window, const std::vector<QWidget*>& inFront) override;
};
