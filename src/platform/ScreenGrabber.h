#pragma once
// Takes the whole screen, every monitor's: from the X server's root window, or from
// the desktop's screenshot service on Wayland.

#include "imaging/dibimage.h"

#include <QString>

#include <functional>

struct ScreenInfo {
    int width = 0;         // pixels
    int height = 0;        // pixels
    int bitsPerPixel = 0;  // as the screen stores a pixel, padding included
    // Screen pixels per window pixel: 2 on a Wayland output scaled by 2, whose pixels
    // the grab gives while the windows (on XWayland) measure half as many.
    int scale = 1;
};

// One grab's outcome: the screen's picture, or why there is none.
struct ScreenShot {
    DeviceContext picture;  // the whole screen, at its size at the grab
    int scale = 1;          // as ScreenInfo::scale
    QString error;          // empty when the picture came; else why not, for the user

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

class ScreenGrabber
{
public:
    using Done = std::function<void(ScreenShot)>;

    virtual ~ScreenGrabber() = default;
    // Takes the screen without waiting on another program; done gets the outcome.
    // A screen read directly answers at once, within the call; one that the desktop
    // hands over (and may first ask the user about) answers later, from the event
    // loop, with no deadline. A new grab() or cancel() drops the one pending: its done
    // is not called.
    virtual void grab(Done done) = 0;
    virtual void cancel() {}
    // The screen's size now, without taking it.
    [[nodiscard]] virtual ScreenInfo screenInfo() const = 0;
};
