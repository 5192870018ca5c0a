#pragma once
// The X11 screen: reads the root window of the display through xcb, into shared
// memory (MIT-SHM) when the server offers it, else through plain GetImage replies.

#include "ScreenGrabber.h"

#include <QCoreApplication>

#include <cstddef>
#include <memory>

class X11ScreenGrabber final : public ScreenGrabber
{
    Q_DECLARE_TR_FUNCTIONS(X11ScreenGrabber)

public:
    enum class Transfer {
        SharedMemoryWhenOffered,  // MIT-SHM on a local server, replies otherwise
        RepliesOnly,              // plain GetImage replies
    };

    // What the grabber is made for. The shared-memory segments it reads the screen
    // through are kept from grab to grab; a grabber for a single grab in a program
    // just started reads through small ones, as each page of a new segment is first
    // touched in a fault in the server and another here.
    enum class Use {
        ManyGrabs,
        OneGrab,
    };

    // displayName empty: $DISPLAY. A display that cannot be reached leaves a grabber
    // whose every grab fails, saying why.
    explicit X11ScreenGrabber(const QString& displayName = QString(),
                              Transfer transfer = Transfer::SharedMemoryWhenOffered, Use use = Use::ManyGrabs);
    ~X11ScreenGrabber() override;
    X11ScreenGrabber(const X11ScreenGrabber&) = delete;
    X11ScreenGrabber& operator=(const X11ScreenGrabber&) = delete;

    // bitsPerPixel: bits each pixel takes in the server's image format (32 on a
    // depth-24 screen), not the depth.
    [[nodiscard]] ScreenInfo screenInfo() const override;
    // Answers within the call.
    void grab(Done done) override;
    // Reads the screen's top-left target.width() x target.height() pixels into
    // target, within the call; what lies beyond the screen is black. Empty when
    // done, else why not.
    [[nodiscard]] QString read(DeviceContext& target);

    // true while grabs go through shared memory.
    [[nodiscard]] bool usesSharedMemory() const;

    struct Connection;

private:
    // read() with the screen's size as already asked: one round trip fewer.
    [[nodiscard]] QString readScreen(DeviceContext& target, const ScreenInfo& screen);

    std::unique_ptr<Connection> m_connection;
    std::size_t m_bandBytes;
    QString m_unreachable;  // why there is no connection
};
