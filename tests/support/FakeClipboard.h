#pragma once
// A clipboard for tests: keeps the last image put on it, and holds an image (or
// other contents) that "another program" copies with copy()/copyText().

#include "imaging/dibimage.h"
#include "platform/Clipboard.h"

#include <functional>
#include <optional>

class FakeClipboard final : public Clipboard
{
public:
    DibSnapshot image;  // the last image the program put on it
    int puts = 0;
    int imageQueries = 0;

    // Another program's copy; each one is a new generation.
    void copy(const DeviceContext& picture)
    {
        held = picture;
        ++generation;
    }
    void copyText()
    {
        held.reset();
        ++generation;
    }
    [[nodiscard]] bool empty() const { return !held && generation == clearedGeneration; }

    std::optional<DeviceContext> held;
    int generation = 0;
    int clearedGeneration = 0;
    int takenGeneration = -1;
    std::function<void()> afterTake;  // e.g. another copy while the image is written

    void setImage(const DibSnapshot& put) override
    {
        image = put;
        ++puts;
    }
    bool hasImage() override
    {
        ++imageQueries;
        return held.has_value();
    }
    bool takeImage(DeviceContext& holder) override
    {
        if (!held)
            return false;
        holder = *held;
        takenGeneration = generation;
        if (afterTake)
            afterTake();
        return true;
    }
    void clearTaken() override
    {
        if (takenGeneration == generation)
            clear();
    }
    void clear() override
    {
        held.reset();
        clearedGeneration = ++generation;
    }
};
