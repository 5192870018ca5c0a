#pragma once
// A clipboard for tests: keeps the last image put on it.

#include "platform/Clipboard.h"

#include <QImage>

class FakeClipboard final : public Clipboard
{
public:
    QImage image;
    int puts = 0;
    void setImage(const QImage& put) override
    {
        image = put;
        ++puts;
    }
};
