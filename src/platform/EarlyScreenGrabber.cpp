#include "EarlyScreenGrabber.h"

#include "X11ScreenGrabber.h"

#include <system_error>

std::future<ScreenShot> takeX11ScreenEarly()
{
    try {
        return std::async(std::launch::async, [] {
            ScreenShot taken;
            X11ScreenGrabber grabber({}, X11ScreenGrabber::Transfer::SharedMemoryWhenOffered,
                                     X11ScreenGrabber::Use::OneGrab);
            grabber.grab([&taken](ScreenShot shot) { taken = std::move(shot); });
            return taken;
        });
    } catch (const std::system_error&) {
        return {};
    }
}

EarlyScreenGrabber::EarlyScreenGrabber(std::future<ScreenShot> early, std::unique_ptr<ScreenGrabber> later)
    : m_early(std::move(early))
    , m_later(std::move(later))
{}

void EarlyScreenGrabber::grab(Done done)
{
    if (m_early.valid()) {
        ScreenShot shot = m_early.get();
        if (shot.ok()) {
            done(std::move(shot));
            return;
        }
    }
    m_later->grab(std::move(done));
}

void EarlyScreenGrabber::cancel() { m_later->cancel(); }

ScreenInfo EarlyScreenGrabber::screenInfo() const { return m_later->screenInfo(); }
