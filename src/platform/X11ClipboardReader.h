#pragma once
// The X11 clipboard read by a thread and a connection of our own, so that the window
// never waits on the program that owns the clipboard. The thread follows every change
// of owner (XFixes), and on request converts the current copy's image as the ICCCM
// says (TARGETS, then PNG, BMP or JPEG, INCR for large ones) within a deadline and a size
// cap. Emptying the clipboard makes a window of ours its owner, one that offers no
// types: under XWayland the Wayland side then drops the image as well, which setting
// the owner to None does not do (mutter offers the image again when its program ends).

#include "Clipboard.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class X11ClipboardReader
{
public:
    using Done = std::function<void(ClipboardCopy)>;

    // Connects to $DISPLAY; without it (or XFixes) no copy is ever seen.
    X11ClipboardReader();
    ~X11ClipboardReader();
    X11ClipboardReader(const X11ClipboardReader&) = delete;
    X11ClipboardReader& operator=(const X11ClipboardReader&) = delete;

    // The copy on the clipboard as the last owner change said: owner and time.
    [[nodiscard]] ClipboardCopyId current() const { return m_current.load(); }
    // Starts reading the current copy's image; done runs later on the thread that made
    // the reader. false while a read is under way.
    bool read(Done done);
    // From now on, until stopLooking(), the reader looks at the clipboard every
    // interval, as the watch's timer does, and reads at once a copy the last look did
    // not see, keeping it for takeLookedAt(): the looks are on time however busy the
    // window is. A copy replaced before a look saw it is not read. kept runs later on
    // the thread that made the reader after each copy kept. false without a
    // connection.
    bool lookEvery(std::chrono::milliseconds interval, std::function<void()> kept);
    // Copies kept and not taken are dropped.
    void stopLooking();
    // The copies read at looks since the last call, oldest first.
    [[nodiscard]] std::vector<ClipboardCopy> takeLookedAt();
    // Makes a window of ours the owner at once, if the clipboard still holds copy `id`
    // (the server compares the times, so a later copy always survives); any copy at all
    // when id is empty.
    void clear(ClipboardCopyId id);

private:
    struct Connection;
    struct ReadRequest {
        ClipboardCopyId id;
        Done done;
    };

    void run();
    void clearIfCurrent(ClipboardCopyId id);
    void serve(const ReadRequest& request);
    [[nodiscard]] std::optional<ClipboardCopyId> dueLook(std::chrono::steady_clock::time_point& until);
    void keepLookedAt(ClipboardCopy copy);
    [[nodiscard]] ClipboardCopy readCopy(ClipboardCopyId id);
    [[nodiscard]] bool ending();
    void wake() const;

    QObject m_context;  // on the thread that made the reader: where done runs
    std::unique_ptr<Connection> m_x;
    std::atomic<ClipboardCopyId> m_current{0};
    std::atomic<bool> m_reading{false};
    std::mutex m_mutex;
    std::optional<ReadRequest> m_readRequest;
    bool m_ending = false;
    std::optional<std::chrono::milliseconds> m_lookInterval;  // guarded by m_mutex, like the five below
    std::chrono::steady_clock::time_point m_nextLook;
    ClipboardCopyId m_lastLooked = 0;  // the copy the last look saw
    std::vector<ClipboardCopy> m_lookedAt;
    std::function<void()> m_kept;
    qsizetype m_lookedAtBytes = 0;
    std::thread m_thread;
};
