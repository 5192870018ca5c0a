#pragma once
// Images between the clipboard's form (QImage, PNG) and the program's (DeviceContext),
// for every clipboard back end.

#include <QByteArray>
#include <QImage>

class DeviceContext;
class QMimeData;

// The top-left width x height pixels of the picture, opaque.
[[nodiscard]] QImage imageOf(const DeviceContext& picture, int width, int height);
// The PNG a paste gets, made by the image library's QuickPng: the clipboard is local,
// so the time counts more than the last bytes of size.
[[nodiscard]] QByteArray fastPng(const QImage& image);
// Clipboard contents offering the image: its PNG (what programs ask for first) is
// made at once on a thread of its own, so the copy itself waits for no encoding and a
// paste right after it gets the PNG as soon as it is made.
[[nodiscard]] QMimeData* imageOnRequest(const QImage& image);
