#pragma once
// The clipboard of a Wayland session that offers clipboard control: copies are
// watched, read and cleared in our own process (DataControlSession), whatever window
// has the focus. Our own images go through wl-copy, started and not waited for, which
// goes on offering them after our program ends, as a copy on Wayland is expected to.

#include "Clipboard.h"
#include "DataControlSession.h"

#include <QObject>
#include <QPointer>
#include <QProcess>

#include <memory>

class WlClipboard final : public Clipboard
{
public:
    explicit WlClipboard(std::unique_ptr<DataControlSession> session);

    void setImage(const DeviceContext& picture, int width, int height) override;
    // Once wl-copy has the image: it then serves it in the background on its own.
    void whenImageReleased(std::function<void()> released) override;
    [[nodiscard]] ClipboardCopyId currentCopy() override { return m_session->current(); }
    bool read(Done done) override { return m_session->read(std::move(done)); }
    void clearCopy(ClipboardCopyId id) override { m_session->clear(id); }
    void clear() override { m_session->clear(0); }

private:
    QObject m_context;             // owns the wl-copy processes still running
    QPointer<QProcess> m_copying;  // the wl-copy of the last image while it runs
    std::unique_ptr<DataControlSession> m_session;
};
