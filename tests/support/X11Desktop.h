#pragma once
// The desktop as the X server has it, asked without the code under test: stacking
// order, mapping, window manager state and the pixels on screen; and input through
// the X server itself (xdotool), so that a pointer press lands on whatever window
// really is under it.

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

class QWidget;
struct xcb_connection_t;
struct xcb_selection_request_event_t;

namespace X11Desktop {

// upper's top-level window (its frame under a window manager) is stacked above lower's.
[[nodiscard]] bool isAbove(const QWidget& upper, const QWidget& lower);
// The window is mapped and all its ancestors are: it can be seen.
[[nodiscard]] bool isViewable(const QWidget& window);
// The window's own rectangle in root coordinates.
[[nodiscard]] QRect geometry(const QWidget& window);
// Its top-level window's, the frame's under a window manager.
[[nodiscard]] QRect frameGeometry(const QWidget& window);
// The root window's size.
[[nodiscard]] QRect rootRect();
[[nodiscard]] QRgb pixelAt(QPoint at);
[[nodiscard]] bool hasWindowManager();
// The window's _NET_WM_STATE holds the named state, such as "_NET_WM_STATE_ABOVE".
[[nodiscard]] bool hasNetWmState(const QWidget& window, const char* state);
// The window that owns the clipboard now, 0 for none.
[[nodiscard]] std::uint32_t clipboardOwner();

// Pointer and keyboard through XTest; false when xdotool failed. The program handles
// no events while xdotool runs, so that a drag's events reach it in one batch.
bool drag(QPoint from, QPoint to);
// The same drag while the program goes on handling events, so that they reach it one
// by one as they come.
bool dragWhileHandlingEvents(QPoint from, QPoint to);
bool click(QPoint at);
bool key(const char* keys);

// Another program holding every key without modifiers (a passive grab on the root
// window from a connection of its own), as a desktop holds its shortcuts, until
// destroyed.
class KeyboardTakenElsewhere
{
public:
    KeyboardTakenElsewhere();
    ~KeyboardTakenElsewhere();
    KeyboardTakenElsewhere(const KeyboardTakenElsewhere&) = delete;
    KeyboardTakenElsewhere& operator=(const KeyboardTakenElsewhere&) = delete;
    [[nodiscard]] bool held() const { return m_held; }

private:
    xcb_connection_t* m_xcb;
    bool m_held = false;
};

// Another program that owns the clipboard (from a connection of its own) until
// destroyed, and either never answers (targets 0), like a hung program, or answers
// the list of types with `targets` made-up types and refuses every conversion.
class StubbornClipboardOwner
{
public:
    explicit StubbornClipboardOwner(int targets);
    ~StubbornClipboardOwner();
    StubbornClipboardOwner(const StubbornClipboardOwner&) = delete;
    StubbornClipboardOwner& operator=(const StubbornClipboardOwner&) = delete;

private:
    void answer();

    xcb_connection_t* m_xcb;
    std::uint32_t m_targetsAtom = 0;
    std::vector<std::uint32_t> m_targets;
    std::atomic<bool> m_ending{false};
    std::thread m_answering;
};

// Another program that owns the clipboard and sends a PNG in three parts (INCR), as
// large images go, and goes on sending after it loses the clipboard, as xclip and Qt
// do; the parts after the first wait for sendRest().
class PartedClipboardOwner
{
public:
    explicit PartedClipboardOwner(QByteArray png);
    ~PartedClipboardOwner();
    PartedClipboardOwner(const PartedClipboardOwner&) = delete;
    PartedClipboardOwner& operator=(const PartedClipboardOwner&) = delete;
    // Waits at most 3 s for the first part to be sent.
    [[nodiscard]] bool firstPartSent() const;
    void sendRest() { m_restAllowed = true; }

private:
    void serve();
    void answer(const xcb_selection_request_event_t& request);
    void sendNextPart();

    xcb_connection_t* m_xcb;
    QByteArray m_png;
    std::uint32_t m_requestor = 0;  // of the transfer under way, with its property
    std::uint32_t m_property = 0;
    qsizetype m_sent = 0;
    int m_partsSent = 0;
    std::atomic<bool> m_firstPartSent{false};
    std::atomic<bool> m_restAllowed{false};
    std::atomic<bool> m_ending{false};
    std::thread m_serving;
};

}  // namespace X11Desktop
