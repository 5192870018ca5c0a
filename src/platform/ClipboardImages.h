#pragma once
// Images between the clipboard's form (PNG on request) and the program's (DibSnapshot),
// for every clipboard back end.

#include <QByteArray>
#include <QImage>

class QMimeData;
struct DibSnapshot;

// The image's pixels, opaque.
[[nodiscard]] QImage imageOf(const DibSnapshot& image);
// The PNG a paste gets, made by the image library's QuickPng: the clipboard is local,
// so the time counts more than the last bytes of size.
[[nodiscard]] QByteArray fastPng(const QImage& image);
// Clipboard contents offering the image: its PNG (what programs ask for first) is
// made at once on a thread of its own, so the copy itself waits for no encoding and a
// paste right after it gets the PNG as soon as it is made.
[[nodiscard]] QMimeData* imageOnRequest(const QImage& image);
