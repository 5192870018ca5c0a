#pragma once
// Whether the program has a screen to run on, asked before Qt starts: Qt aborts with
// a message about reinstalling when it has none, and crashes on an 8-bit PseudoColor
// X screen. Call after preferX11Windows().

#include <QString>

// Empty when the windows can start; else one line saying what is missing. A platform
// the user chose himself (QT_QPA_PLATFORM other than xcb) is left to Qt.
[[nodiscard]] QString unusableDisplayReason();
