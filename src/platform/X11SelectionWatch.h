#pragma once
// Who owns the X11 clipboard and since when, watched on a connection of our own
// (XFixes selection events), so that the program can empty the clipboard only if
// nothing was copied since it took its image: the server compares the times and the
// check and the clearing are one step.

#include <cstdint>
#include <memory>

class X11SelectionWatch
{
public:
    // Connects to $DISPLAY; without it (or without XFixes) the watch knows no times and
    // cannot clear.
    X11SelectionWatch();
    ~X11SelectionWatch();
    X11SelectionWatch(const X11SelectionWatch&) = delete;
    X11SelectionWatch& operator=(const X11SelectionWatch&) = delete;

    // The server time of the latest copy (or clearing), taking in every change any
    // client made before this call: one round trip. 0 (the X11 "current time") when
    // none has been seen.
    [[nodiscard]] std::uint32_t latestChange();
    // Empties the clipboard unless it changed after `since`; since 0 empties it in
    // any case. false when the watch has no connection.
    bool clearUnlessChangedAfter(std::uint32_t since);

private:
    struct Connection;
    std::unique_ptr<Connection> m_x;
    std::uint32_t m_latest = 0;
};
