#include "FakeScreenGrabber.h"

ScreenInfo FakeScreenGrabber::screenInfo() const { return {screen.width(), screen.height(), bitsPerPixel}; }

void FakeScreenGrabber::grab(Done done)
{
    ++grabCount;
    ScreenShot shot;
    if (m_failure.isEmpty())
        shot.picture = screen;
    else
        shot.error = m_failure;
    done(std::move(shot));
}
