#pragma once
// What the Wayland session offers, asked of the compositor itself.

struct WaylandOffer {
    // ext- or wlr-data-control (sway, KDE, Hyprland and the other wlroots
    // compositors): a program may watch the clipboard without having the keyboard focus.
    bool clipboardControl = false;
    // mutter (GNOME), known by its gtk_shell1: it hands every change of the clipboard
    // to XWayland at once, so an X11 program sees each copy without the focus.
    bool clipboardSharedWithXWayland = false;
    // mutter and KWin (known by its org_kde_plasma_shell) keep an X11 window's
    // transients above it when it is full-screen; wlroots compositors show no managed
    // window over a full-screen one.
    bool transientsAboveFullScreen = false;
};

// What the session named by WAYLAND_DISPLAY offers; nothing when it cannot be reached.
[[nodiscard]] WaylandOffer waylandOffer();
