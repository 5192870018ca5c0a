#pragma once
// The Print key on X11: a passive grab on the root window, through Qt's own X
// connection, whose events reach us through a native event filter.

#include "PrintKey.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>

class X11PrintKey final : public PrintKey, private QAbstractNativeEventFilter
{
public:
    X11PrintKey() = default;
    ~X11PrintKey() override;
    X11PrintKey(const X11PrintKey&) = delete;
    X11PrintKey& operator=(const X11PrintKey&) = delete;

    PrintKeyHold take(std::function<void()> pressed) override;
    void release() override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    std::function<void()> m_pressed;
    std::uint32_t m_root = 0;
    std::uint8_t m_keycode = 0;  // 0: nothing held
};
