#pragma once
// The system clipboard: images put on it for other programs, and copies read off it
// by the auto-save watch without waiting on the program that made them.

#include <QByteArray>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

class DeviceContext;

// Which copy the clipboard holds: a value that changes with every copy (on X11 the
// time of the copy and its owner's window). 0: none seen yet.
using ClipboardCopyId = std::uint64_t;

// The largest image a copy may bring, encoded: a PNG of the largest image the library
// decodes is far smaller. A copy beyond it is not read on.
inline constexpr qsizetype MaxClipboardBytes = qsizetype{512} << 20;

// An owner that has not handed over its copy by then is given up for that copy; a
// slow one that sends its image in parts within it is read whole.
inline constexpr std::chrono::milliseconds ClipboardReadDeadline{3000};

// The image types a read takes, the first one offered in this order: PNG first, as
// every program that copies an image offers it and it arrives unchanged; then BMP
// under its three names; JPEG, lossy, last.
inline constexpr std::array<std::string_view, 5> ReadableImageTypes{"image/png", "image/bmp", "image/x-bmp",
                                                                    "image/x-MS-bmp", "image/jpeg"};

// What reading one copy gave.
struct ClipboardCopy {
    enum class Outcome {
        Image,     // bytes: a PNG, BMP or JPEG file
        NoImage,   // text, files, or nothing: left as it is
        TooLarge,  // more than MaxClipboardBytes
        TimedOut,  // the owner did not answer in time: given up for this copy
        Replaced,  // another copy came while this one was read: read that one instead
    };
    Outcome outcome = Outcome::NoImage;
    ClipboardCopyId id = 0;
    QByteArray bytes;
};

class Clipboard
{
public:
    using Done = std::function<void(ClipboardCopy)>;

    virtual ~Clipboard() = default;
    // Puts the top-left width x height pixels of the picture on the clipboard for
    // other programs to paste (as PNG, BMP and the other image types they ask for),
    // replacing what was there. The program keeps answering paste requests while it
    // runs, and hands the image to a clipboard manager when it ends.
    virtual void setImage(const DeviceContext& picture, int width, int height) = 0;
    // Calls released (at once, or later from the event loop) once the program no longer
    // needs to run for the image set last to stay pasteable: another program has taken
    // the clipboard, or the image is in the hands of a program that serves it on its own.
    virtual void whenImageReleased(std::function<void()> released) { released(); }

    // The copy the clipboard holds, as far as is known without asking its owner.
    [[nodiscard]] virtual ClipboardCopyId currentCopy() = 0;
    // Starts reading the current copy; done runs later, on the thread that made the
    // service, with its image (PNG, BMP or JPEG) or why there is none. false (done never
    // runs) while a read is under way.
    virtual bool read(Done done) = 0;
    // From now on, until stopLooking(), the service looks at the clipboard every
    // interval on a thread of its own, as the watch's timer does, and reads at once a
    // copy the last look did not see, keeping it for takeCopiesLookedAt(): the looks
    // are on time however busy the window is. kept runs on the thread that made the
    // service after each copy kept. false where copies are read only when asked
    // (read()).
    virtual bool lookEvery(std::chrono::milliseconds, std::function<void()>) { return false; }
    // Copies kept and not taken are dropped.
    virtual void stopLooking() {}
    // The copies read at looks since the last call, oldest first.
    [[nodiscard]] virtual std::vector<ClipboardCopy> takeCopiesLookedAt() { return {}; }
    // Empties the clipboard if it still holds copy id: a copy made since stays.
    virtual void clearCopy(ClipboardCopyId id) = 0;
    // Empties the clipboard, whatever it holds.
    virtual void clear() = 0;
    // false where the session shows the clipboard only to the window with the focus
    // (an X11 program on a Wayland desktop that neither shares every copy with
    // XWayland nor offers clipboard control).
    [[nodiscard]] virtual bool seesCopiesWithoutFocus() const { return true; }
};
