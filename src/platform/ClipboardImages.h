#pragma once
// Images between the clipboard's form (PNG on request) and the program's (DibSnapshot),
// for every clipboard back end.

#include <QByteArray>
#include <QImage>

class QMimeData;
struct DibSnapshot;

// The image's pixels, opaque.
[[nodiscard]] QImage imageOf(const DibSnapshot& image);
// The PNG a paste gets: made at the fastest compression, since the clipboard is local
// and the size matters little beside the time.
[[nodiscard]] QByteArray fastPng(const QImage& image);
// Clipboard contents offering the image, encoded only when a paste asks for it and
// then once: the copy itself costs no encoding, and a paste in PNG (what programs ask
// for first) gets the fast one.
[[nodiscard]] QMimeData* imageOnRequest(const QImage& image);
