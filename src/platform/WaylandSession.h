#pragma once
// What the Wayland session offers, asked of the compositor itself.

// true when the session named by WAYLAND_DISPLAY offers wlr-data-control (sway, KDE,
// Hyprland and the other wlroots compositors): a program may then watch the clipboard
// without having the keyboard focus.
[[nodiscard]] bool offersClipboardControl();
