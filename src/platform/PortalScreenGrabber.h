#pragma once
// The screen of a Wayland session, through the desktop portal
// (org.freedesktop.portal.Screenshot, not interactive): the portal writes the whole
// screen to a file, which is read straight into memory and then removed, since a
// screen picture is private. Where the portal gives none in a KDE Plasma session,
// KWin's own screenshot interface does. The portal tells the screen's size only with a picture:
// screenInfo() takes one, and the grab() that follows within a second uses it. On a
// scaled output the picture has more pixels than the X11 (XWayland) screen the
// windows run on: its size is the screen's, and scale says how many per window pixel.

#include "ScreenGrabber.h"

#include <QElapsedTimer>
#include <QImage>

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
    // A picture taken at most a second ago and not used by a grab yet, else a new one;
    // false (error() says why) when the portal gave none.
    bool freshPicture() const;
    bool takePicture() const;
    bool takePortalPicture() const;

    std::unique_ptr<ScreenGrabber> m_sizes;
    // The picture is the screen's state, which screenInfo() reads.
    mutable QString m_error;
    mutable QImage m_picture;
    mutable QElapsedTimer m_taken;
};
