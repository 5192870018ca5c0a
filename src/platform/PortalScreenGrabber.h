#pragma once
// The screen of a Wayland session, through the desktop portal
// (org.freedesktop.portal.Screenshot, not interactive): the portal writes the whole
// screen to a file, which is read straight into the frozen copy and then removed,
// since a screen picture is private and the copy lives in memory only. The screen's
// size is the X11 (XWayland) screen's, on which the windows run; on a scaled output
// the portal's larger picture is brought down to it.

#include "ScreenGrabber.h"

#include <memory>

class PortalScreenGrabber final : public ScreenGrabber
{
public:
    // sizes: where the screen's size comes from (the XWayland screen).
    explicit PortalScreenGrabber(std::unique_ptr<ScreenGrabber> sizes);
    ~PortalScreenGrabber() override;

    [[nodiscard]] ScreenInfo screenInfo() const override;
    bool grab(DeviceContext& target) override;
    [[nodiscard]] QString error() const override { return m_error; }

private:
    std::unique_ptr<ScreenGrabber> m_sizes;
    QString m_error;
};
