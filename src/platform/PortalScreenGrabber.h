#pragma once
// The screen of a Wayland session, through the desktop portal
// (org.freedesktop.portal.Screenshot, not interactive): the portal writes the whole
// screen to a file, which is read straight into memory and then removed, since a
// screen picture is private. Where the portal gives none in a KDE Plasma session,
// KWin's own screenshot interface does. The portal may first ask the user, so the
// picture arrives from the event loop. The request waits a few frames first: a window of ours hidden just before
// (the wait window, the mode's windows before a new capture) is then gone from the
// screen as the compositor shows it. On a scaled output the picture has more pixels than the X11 (XWayland) screen
// the windows run on: its size is the screen's, and scale says how many per window
// pixel.

#include "KWinScreenshot.h"
#include "ScreenGrabber.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QTimer>
#include <QVariantMap>

#include <memory>

class PortalRequest;

class PortalScreenGrabber final : public ScreenGrabber
{
    Q_DECLARE_TR_FUNCTIONS(PortalScreenGrabber)

public:
    // sizes: where the screen's size comes from before the first picture (the
    // XWayland screen).
    explicit PortalScreenGrabber(std::unique_ptr<ScreenGrabber> sizes);
    ~PortalScreenGrabber() override;

    void grab(Done done) override;
    void cancel() override;
    [[nodiscard]] ScreenInfo screenInfo() const override;

private:
    void ask();
    void answered(uint response, const QVariantMap& results);
    void failed(const QString& error);
    // Where the portal gave no picture, KWin's; then done is told.
    void finish();
    void deliver();
    void dropRequest();

    std::unique_ptr<ScreenGrabber> m_sizes;
    QString m_error;
    QImage m_picture;
    QSize m_pictureSize;  // of the last picture, which is the screen's
    Done m_done;
    QTimer m_settle;  // until the screen shows what was asked of it before the request
    KWinScreenshot m_kwin;
    PortalRequest* m_request = nullptr;  // pending; deleted later, it may be in its own handler
    QDateTime m_asked;
};
