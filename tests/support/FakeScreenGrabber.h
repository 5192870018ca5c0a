#pragma once
// A screen for tests: grab copies the top-left part of a DeviceContext the test
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
    bool grab(DeviceContext& target) override;
    [[nodiscard]] QString error() const override { return m_failure; }

private:
    QString m_failure;
};
