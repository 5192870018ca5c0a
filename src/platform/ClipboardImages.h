#pragma once
// Images between the clipboard's form (QImage, PNG) and the program's (DibSnapshot,
// DeviceContext), for every clipboard and screen back end.

#include <QByteArray>
#include <QImage>

class DeviceContext;
struct DibSnapshot;

// The image's pixels, opaque.
[[nodiscard]] QImage imageOf(const DibSnapshot& image);
// PNG at Qt's fastest compression: a paste asks for PNG first, and Qt's default level
// took ten times as long as the rest of a copy.
[[nodiscard]] QByteArray fastPng(const QImage& image);
// The picture at its own size into holder; false (holder unchanged) for a null picture.
bool holdPicture(const QImage& picture, DeviceContext& holder);
