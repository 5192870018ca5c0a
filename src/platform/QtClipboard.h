#pragma once
// The clipboard through Qt: on X11 Qt owns the CLIPBOARD selection, converts the image
// to every type a paste asks for, and at exit offers it to a running clipboard
// manager (SAVE_TARGETS). Qt reports every change of the clipboard, so an unchanged
// clipboard is never asked again; the clearing goes through a watch of our own that
// knows the time of each copy.

#include "Clipboard.h"
#include "X11SelectionWatch.h"

#include <QObject>

#include <cstdint>

class QtClipboard final : public Clipboard
{
public:
    // Needs the QGuiApplication. seesCopiesWithoutFocus: false under XWayland on a
    // desktop that shows the clipboard to the focused window only.
    explicit QtClipboard(bool seesCopiesWithoutFocus = true);

    void setImage(const DibSnapshot& image) override;
    [[nodiscard]] bool hasImage() override;
    bool takeImage(DeviceContext& holder) override;
    void clearTaken() override;
    void clear() override;
    [[nodiscard]] bool seesCopiesWithoutFocus() const override { return m_withoutFocus; }

private:
    void clearSince(std::uint32_t since);

    X11SelectionWatch m_watch;
    QObject m_context;  // receives Qt's change signal for as long as this object lives
    bool m_withoutFocus;
    bool m_changed = true;
    bool m_hasImage = false;
    std::uint32_t m_takenAt = 0;
};
