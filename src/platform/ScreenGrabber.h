#pragma once
// Reads the whole screen, every monitor's: from the X server's root window, or from
// the desktop's screenshot service on Wayland.

#include <QString>

#include <functional>

class DeviceContext;

struct ScreenInfo {
    int width = 0;          // pixels
    int height = 0;         // pixels
    int bitsPerPixel = 0;   // as the screen stores a pixel, padding included
    // Screen pixels per window pixel: 2 on a Wayland output scaled by 2, whose pixels
    // the grab gives while the windows (on XWayland) measure half as many.
    int scale = 1;
};

class ScreenGrabber
{
public:
    virtual ~ScreenGrabber() = default;
    // Makes the screen ready for screenInfo() and grab() without waiting on another
    // program: ready(true) once it is, ready(false) when it cannot be (error() says
    // why). A screen read directly is ready at once, within the call; one that the
    // desktop hands over (and may first ask the user about) is ready later, from the
    // event loop, with no deadline. A new prepare() or cancelPrepare() drops the one
    // pending: its ready is not called.
    virtual void prepare(std::function<void(bool)> ready) { ready(true); }
    virtual void cancelPrepare() {}
    [[nodiscard]] virtual ScreenInfo screenInfo() const = 0;
    // Copies the screen's top-left target.width() x target.height() pixels into target.
    // false when the screen cannot be read; error() then says why. The target is
    // unchanged unless the display is lost in the middle of the copy.
    virtual bool grab(DeviceContext& target) = 0;
    [[nodiscard]] virtual QString error() const = 0;
};
