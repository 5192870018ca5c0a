#pragma once
// The X11 screen taken on a thread of its own from the program's first moments, while
// the windowing side of Qt starts, which takes about as long again as the grab: a
// shortcut that opens the capture shows its frozen screen that much sooner, and the
// screen is the one the user saw when asking for it.

#include "ScreenGrabber.h"

#include <future>
#include <memory>

// Begins taking the X11 screen on a thread of its own; no grab (an invalid future) when
// no thread can start.
[[nodiscard]] std::future<ScreenShot> takeX11ScreenEarly();

class EarlyScreenGrabber final : public ScreenGrabber
{
public:
    // early: a grab under way; later takes every grab after it, and one in its stead
    // when it failed, so that the failure is reported as later gives it.
    EarlyScreenGrabber(std::future<ScreenShot> early, std::unique_ptr<ScreenGrabber> later);

    // The first grab waits for the early one, as a direct read of the screen would.
    void grab(Done done) override;
    void cancel() override;
    [[nodiscard]] ScreenInfo screenInfo() const override;

private:
    std::future<ScreenShot> m_early;
    std::unique_ptr<ScreenGrabber> m_later;
};
