#pragma once
// What the Wayland session offers, asked of the compositor itself.

struct WaylandClipboardOffer {
    // wlr-data-control (sway, KDE, Hyprland and the other wlroots compositors): a
    // program may watch the clipboard without having the keyboard focus.
    bool control = false;
    // mutter (GNOME), known by its gtk_shell1: it hands every change of the clipboard
    // to XWayland at once, so an X11 program sees each copy without the focus.
    bool sharedWithXWayland = false;
};

// What the session named by WAYLAND_DISPLAY offers; nothing when it cannot be reached.
[[nodiscard]] WaylandClipboardOffer waylandClipboardOffer();
