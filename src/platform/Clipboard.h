#pragma once
// The system clipboard: images put on it for other programs, and images taken off it
// by the auto-save watch.

class DeviceContext;
struct DibSnapshot;

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Puts the image's pixels on the clipboard for other programs to paste (as PNG,
    // BMP and the other image types they ask for), replacing what was there. The
    // program keeps answering paste requests while it runs, and hands the image to a
    // clipboard manager when it ends.
    virtual void setImage(const DibSnapshot& image) = 0;

    // Whether the clipboard offers an image. Only the list of types is asked for, and
    // only when the clipboard changed since the last call; otherwise the last answer
    // stands, without asking anyone.
    [[nodiscard]] virtual bool hasImage() = 0;
    // The clipboard's image at its own size in pixels into holder; false (holder
    // unchanged) when it holds none. Remembers which copy it took.
    virtual bool takeImage(DeviceContext& holder) = 0;
    // Empties the clipboard if it still holds the copy takeImage took last: an image
    // copied meanwhile stays for the next look.
    virtual void clearTaken() = 0;
    // Empties the clipboard, whatever it holds.
    virtual void clear() = 0;
    // false where the session shows the clipboard only to the window with the focus
    // (an X11 program on a Wayland desktop without clipboard control).
    [[nodiscard]] virtual bool seesCopiesWithoutFocus() const { return true; }
};
