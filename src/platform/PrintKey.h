#pragma once
// The Print key, taken for the whole screen while the program wants it: each press
// then comes to the program instead of the desktop's own screenshot tool.

#include <functional>

enum class PrintKeyHold {
    Held,            // presses come to the program until release()
    TakenByAnother,  // another program holds the key; nothing was taken
    Unavailable,     // no X11 display or no Print key on the keyboard
};

class PrintKey
{
public:
    virtual ~PrintKey() = default;
    // Takes the key (also with Num Lock or Caps Lock on); pressed runs at each press.
    virtual PrintKeyHold take(std::function<void()> pressed) = 0;
    // Gives the key back; nothing held: no-op.
    virtual void release() = 0;
};
