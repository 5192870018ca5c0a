#pragma once
// The clipboard of a Wayland session that offers wlr-data-control, through
// wl-clipboard's programs: `wl-paste --watch` reports each change without our window
// having the focus (which an X11 program under XWayland would need), `wl-paste`
// lists the types and reads the image, `wl-copy` puts images and clears. The
// clearing after a take is skipped when a change was reported since the take.

#include "Clipboard.h"

#include <QProcess>

class WlClipboard final : public Clipboard
{
public:
    WlClipboard();
    ~WlClipboard() override;

    void setImage(const DibSnapshot& image) override;
    [[nodiscard]] bool hasImage() override;
    bool takeImage(DeviceContext& holder) override;
    void clearTaken() override;
    void clear() override;

private:
    // Reads the watch's reports that have come so far.
    void collectChanges();

    QProcess m_watch;
    long m_changes = 0;
    long m_looked = -1;   // m_changes at the last type query
    long m_taken = -1;    // m_changes at the last take
    QString m_imageType;  // the image type the last query found; empty: none
};
