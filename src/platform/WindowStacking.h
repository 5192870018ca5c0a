#pragma once
// Stacking that Qt cannot express: the full-screen desktop copy kept directly below the
// windows that must stay in front of it (the panel, the picture, the mode's other
// windows), wherever the window manager or the compositor puts those.

#include <vector>

class QWidget;

class WindowStacking
{
public:
    virtual ~WindowStacking() = default;
    // Called once for the copy and once for each window in front of it, before the
    // window is first shown or its native window made.
    virtual void prepareCopy(QWidget& copy) = 0;
    virtual void prepareInFront(QWidget& window, QWidget& copy) = 0;
    // Restacks window (the copy) directly below the lowest of inFront that is shown.
    // Windows in inFront may be null or hidden; with none shown, window stays where it
    // is.
    virtual void placeBelow(QWidget& window, const std::vector<QWidget*>& inFront) = 0;
};
