#pragma once
// A screen for tests: a grab answers at once with a copy of a DeviceContext the test
// painted. failWith makes every grab fail with that error text.

#include "imaging/dibimage.h"
#include "platform/ScreenGrabber.h"

class FakeScreenGrabber final : public ScreenGrabber
{
public:
    // The screen's contents; its size is the screen size.
    DeviceContext screen{1024, 768};
    int bitsPerPixel = 32;
    int grabCount = 0;

    void failWith(const QString& error) { m_failure = error; }

    [[nodiscard]] ScreenInfo screenInfo() const override;
    void grab(Done done) override;

private:
    QString m_failure;
};
