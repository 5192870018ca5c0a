#pragma once
// The X11 clipboard: our own copies go through Qt, which owns the CLIPBOARD selection,
// answers every paste in the type it asks for and at exit offers the image to a
// running clipboard manager (SAVE_TARGETS). Other programs' copies are read by a
// reader with a thread and a connection of its own, so the window never waits on them.

#include "Clipboard.h"
#include "X11ClipboardReader.h"

#include <QMetaObject>

class X11Clipboard final : public Clipboard
{
public:
    // Needs the QGuiApplication. seesCopiesWithoutFocus: false under XWayland on a
    // desktop that shows the clipboard to the focused window only.
    explicit X11Clipboard(bool seesCopiesWithoutFocus = true);

    void setImage(const DeviceContext& picture, int width, int height) override;
    // When another program owns the CLIPBOARD selection.
    void whenImageReleased(std::function<void()> released) override;
    [[nodiscard]] ClipboardCopyId currentCopy() override { return m_reader.current(); }
    bool read(Done done) override { return m_reader.read(std::move(done)); }
    bool lookEvery(std::chrono::milliseconds interval, std::function<void()> kept) override
    {
        return m_reader.lookEvery(interval, std::move(kept));
    }
    void stopLooking() override { m_reader.stopLooking(); }
    [[nodiscard]] std::vector<ClipboardCopy> takeCopiesLookedAt() override { return m_reader.takeLookedAt(); }
    void clearCopy(ClipboardCopyId id) override { m_reader.clear(id); }
    void clear() override { m_reader.clear(0); }
    [[nodiscard]] bool seesCopiesWithoutFocus() const override { return m_withoutFocus; }

private:
    X11ClipboardReader m_reader;
    QMetaObject::Connection m_releaseWatch;
    bool m_withoutFocus;
};
