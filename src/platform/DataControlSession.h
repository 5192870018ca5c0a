#pragma once
// The clipboard of a Wayland session through the compositor's clipboard control
// (ext-data-control, or wlr-data-control on sway, KDE and the other wlroots
// compositors), on a connection and a thread of our own: every copy is seen as it is
// made, whatever window has the focus, and is read through a pipe within a deadline
// and a size cap, so the window never waits on the program that copied.
//
// A copy's identity is its offer: each new selection the compositor announces is a
// new id, even when it brings the same bytes as the one before.

#include "Clipboard.h"

#include <memory>

class DataControlSession
{
public:
    using Done = std::function<void(ClipboardCopy)>;

    // Connects to $WAYLAND_DISPLAY; null where the compositor offers no clipboard
    // control or no seat.
    [[nodiscard]] static std::unique_ptr<DataControlSession> connect();
    virtual ~DataControlSession() = default;

    // The copy the last selection the compositor announced holds.
    [[nodiscard]] virtual ClipboardCopyId current() const = 0;
    // Starts reading the current copy's image; done runs later on the thread that made
    // the session. false while a read is under way.
    virtual bool read(Done done) = 0;
    // Unsets the selection if, after a round trip to the compositor, it still holds
    // copy id (any copy when id is 0): a copy made before that round trip is never
    // cleared.
    virtual void clear(ClipboardCopyId id) = 0;
};
