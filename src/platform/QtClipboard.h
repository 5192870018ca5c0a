#pragma once
// The clipboard through Qt: on X11 Qt owns the CLIPBOARD selection, converts the image
// to every type a paste asks for, and at exit offers it to a running clipboard
// manager (SAVE_TARGETS).

#include "Clipboard.h"

class QtClipboard final : public Clipboard
{
public:
    void setImage(const DibSnapshot& image) override;
};
