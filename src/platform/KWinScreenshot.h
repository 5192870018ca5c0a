#pragma once
// The screen of a KDE Plasma session through KWin's own screenshot interface,
// org.kde.KWin.ScreenShot2, for where the desktop portal gives no picture (Plasma
// 5.27's portal cancels every request that does not ask the user). KWin answers only
// a program that an installed desktop entry authorizes: one whose Exec names the
// program's file by its full path and whose X-KDE-DBUS-Restricted-Interfaces lists
// org.kde.KWin.ScreenShot2, as the entry that the install puts in place does.

#include <QImage>
#include <QString>

struct ScreenPicture {
    QImage image;   // null when none came
    QString error;  // then: why, for the user
};

// Whether KWin runs this session (its service is on the session bus).
[[nodiscard]] bool isKWinSession();
// The whole workspace in the outputs' own pixels.
[[nodiscard]] ScreenPicture takeKWinScreenshot();
