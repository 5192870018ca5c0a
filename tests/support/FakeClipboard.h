#pragma once
// A clipboard for tests: keeps the last image put on it.

#include "imaging/dibimage.h"
#include "platform/Clipboard.h"

class FakeClipboard final : public Clipboard
{
public:
    DibSnapshot image;
    int puts = 0;
    void setImage(const DibSnapshot& put) override
    {
        image = put;
        ++puts;
    }
};
