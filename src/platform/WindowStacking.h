#pragma once
// Stacking that Qt cannot express: a window the window manager does not manage (the
// full-screen desktop copy) kept directly below the windows that must stay in front
// of it, wherever the window manager has put those.

#include <vector>

class QWidget;

class WindowStacking
{
public:
    virtual ~WindowStacking() = default;
    // Restacks window directly below the lowest of inFront that is shown. Windows in
    // inFront may be null or hidden; with none shown, window stays where it is.
    virtual void placeBelow(QWidget& window, const std::vector<QWidget*>& inFront) = 0;
};
