#pragma once
// The screen of a KDE Plasma session through KWin's own screenshot interface,
// org.kde.KWin.ScreenShot2, for where the desktop portal gives no picture (Plasma
// 5.27's portal cancels every request that does not ask the user). KWin answers only
// a program that an installed desktop entry authorizes: one whose Exec names the
// program's file by its full path and whose X-KDE-DBUS-Restricted-Interfaces lists
// org.kde.KWin.ScreenShot2, as the entry that the install puts in place does.
//
// Nothing waits on KWin: the call is asynchronous and the pixels, which KWin writes
// into a pipe after its answer, are read on a thread of their own.

#include "FileDescriptor.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <thread>

struct ScreenPicture {
    QImage image;   // null when none came
    QString error;  // then: why, for the user
};

// Whether KWin runs this session (its service is on the session bus).
[[nodiscard]] bool isKWinSession();

class KWinScreenshot
{
public:
    using Done = std::function<void(ScreenPicture)>;

    KWinScreenshot();
    ~KWinScreenshot();
    KWinScreenshot(const KWinScreenshot&) = delete;
    KWinScreenshot& operator=(const KWinScreenshot&) = delete;

    // Asks KWin for the whole workspace in the outputs' own pixels; done runs later, on
    // this thread, with the picture or why there is none. A new take or cancel() drops
    // the one pending: its done is not called.
    void take(Done done);
    void cancel();

private:
    class Request;

    void answered(Request& request, const QVariantMap& picture, FileDescriptor readEnd);

    QPointer<Request> m_request;   // the pending one; deleted later, it may be in its own handler
    FileDescriptor m_stopReading;  // an event that ends the reader's wait for KWin
    std::thread m_reader;
};
