#pragma once
// Reads the whole screen. Replaces GetDesktopWindow/GetDC/BitBlt/GetDeviceCaps.

#include <QString>

class DeviceContext;

struct ScreenInfo {
    int width = 0;          // HORZRES, pixels
    int height = 0;         // VERTRES, pixels
    int bitsPerPixel = 0;   // BITSPIXEL
    // Screen pixels per window pixel: 2 on a Wayland output scaled by 2, whose pixels
    // the grab gives while the windows (on XWayland) measure half as many.
    int scale = 1;
};

class ScreenGrabber
{
public:
    virtual ~ScreenGrabber() = default;
    [[nodiscard]] virtual ScreenInfo screenInfo() const = 0;
    // Copies the screen's top-left target.width() x target.height() pixels into target.
    // false when the screen cannot be read; error() then says why. The target is
    // unchanged unless the display is lost in the middle of the copy.
    virtual bool grab(DeviceContext& target) = 0;
    [[nodiscard]] virtual QString error() const = 0;
};
