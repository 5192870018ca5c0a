#pragma once
// The Print key for tests: answers take() as told and presses on request.

#include "platform/PrintKey.h"

class FakePrintKey final : public PrintKey
{
public:
    PrintKeyHold answer = PrintKeyHold::Held;
    std::function<void()> pressed;
    bool held = false;

    PrintKeyHold take(std::function<void()> onPress) override
    {
        if (answer == PrintKeyHold::Held) {
            pressed = std::move(onPress);
            held = true;
        }
        return answer;
    }
    void release() override
    {
        held = false;
        pressed = nullptr;
    }
    void press() const
    {
        if (held && pressed)
            pressed();
    }
};
