#pragma once
// The clipboard of a Wayland session that offers clipboard control (wlr-data-control),
// through wl-clipboard's programs: `wl-paste --watch` reports each change without our
// window having the focus (which an X11 program under XWayland would need); a read
// runs `wl-paste` on a thread of its own, within a deadline and a size cap, so the
// window never waits on the program that copied; `wl-copy`, started and not waited
// for, puts images and clears.
// The programs we start end with ours, however ours ends.

#include "Clipboard.h"

#include <QObject>
#include <QPointer>
#include <QProcess>

#include <thread>

class WlClipboard final : public Clipboard
{
public:
    WlClipboard();
    ~WlClipboard() override;

    void setImage(const DeviceContext& picture, int width, int height) override;
    // Once wl-copy has the image: it then serves it in the background on its own.
    void whenImageReleased(std::function<void()> released) override;
    [[nodiscard]] ClipboardCopyId currentCopy() override;
    bool read(Done done) override;
    void clearCopy(ClipboardCopyId id) override;
    void clear() override;

private:
    QProcess* startTool(const QStringList& arguments, const QByteArray& input);

    QObject m_context;  // where a read's result is handed over, on the window's thread
    QProcess m_watch;
    QPointer<QProcess> m_copying;  // the wl-copy of the last image while it runs
    ClipboardCopyId m_changes = 0;  // lines the watch reported: one per change
    std::thread m_reader;
    bool m_reading = false;
};
