#pragma once
// Asks the desktop for the screen and waits for it without showing anything of ours
// in the picture. Most desktops answer at once; one that takes longer may be asking
// the user, so after a moment a window says that the program waits, and offers to
// give up. A desktop may take the picture while that window shows: the picture is then
// asked for again once the window has gone.

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class ScreenGrabber;
class ScreenWait;
struct ScreenShot;

class ScreenRequest final : public QObject
{
    Q_OBJECT
public:
    // How long the desktop may take before the wait window shows; when the picture is
    // asked for again, the desktop has just answered, so the window waits longer.
    static constexpr int QuietMs = 500;
    static constexpr int QuietAgainMs = 5000;

    explicit ScreenRequest(ScreenGrabber& screen);
    ~ScreenRequest() override;

    // Asks for the screen: done gets the grab's outcome, within the call where the
    // screen is read directly, else later from the event loop. Drops a request pending.
    void start(std::function<void(ScreenShot)> done);
    // Drops the request pending, and its wait window: done is not called.
    void cancel();
    [[nodiscard]] bool pending() const { return static_cast<bool>(m_done); }

signals:
    // The user gave up in the wait window; the request is dropped.
    void cancelled();

private:
    void ask();
    void answered(ScreenShot shot);
    void showWait();

    ScreenGrabber& m_screen;
    std::function<void(ScreenShot)> m_done;
    std::unique_ptr<ScreenWait> m_wait;  // made at the first request the desktop does not answer at once
    QTimer m_quiet;
    bool m_waitShown = false;  // during the request under way
    int m_askedAgain = 0;
};
