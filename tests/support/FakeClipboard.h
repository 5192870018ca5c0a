#pragma once
// A clipboard for tests: keeps the last image put on it, and holds the bytes (or other
// contents) that "another program" copies with copy()/copyText(). A read answers
// through the event loop, as the real services do.

#include "imaging/dibimage.h"
#include "platform/Clipboard.h"

#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>

class FakeClipboard final : public Clipboard
{
public:
    DeviceContext image;  // the last image the program put on it
    int puts = 0;
    int reads = 0;

    // Another program's copy; each one is a new copy.
    void copy(QByteArray bytes)
    {
        held = std::move(bytes);
        ++generation;
    }
    void copyText()
    {
        held.reset();
        ++generation;
    }

    std::optional<QByteArray> held;
    ClipboardCopyId generation = 1;
    // What a read gives instead of the bytes (a slow or hostile owner).
    std::optional<ClipboardCopy::Outcome> readOutcome;
    std::function<void()> afterRead;  // e.g. another copy while the image is written

    void setImage(const DeviceContext& picture, int width, int height) override
    {
        image.resize(width, height);
        for (int y = 0; y < height; ++y)
            std::copy_n(picture.row(y), width, image.row(y));
        ++puts;
    }
    ClipboardCopyId currentCopy() override { return generation; }
    bool read(Done done) override
    {
        ++reads;
        ClipboardCopy copy{held ? ClipboardCopy::Outcome::Image : ClipboardCopy::Outcome::NoImage, generation,
                           held.value_or(QByteArray())};
        if (readOutcome)
            copy = {*readOutcome, generation, {}};
        QTimer::singleShot(0, [this, done = std::move(done), copy] {
            done(copy);
            if (afterRead)
                std::exchange(afterRead, nullptr)();
        });
        return true;
    }
    void clearCopy(ClipboardCopyId id) override
    {
        if (id == generation)
            clear();
    }
    void clear() override
    {
        held.reset();
        ++generation;
    }
};
