#pragma once
// The system clipboard, as far as the program writes to it.

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
};
