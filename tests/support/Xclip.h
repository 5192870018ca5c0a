#pragma once
// xclip as another program on the test's X server: what it copies to the clipboard
// and what it reads from it.

#include <QImage>
#include <QString>

namespace Xclip {

// Copies the image as image/png, bytes as image/png (or as the type given) whatever
// they hold, or the text, replacing what the clipboard held.
void copyImage(const QImage& image);
void copyPng(const QByteArray& bytes);
void copyAs(const QString& type, const QByteArray& bytes);
void copyText(const QString& text);
// The clipboard's types (TARGETS), its text, or its image/png as decoded.
[[nodiscard]] QString targets();
[[nodiscard]] QString text();
[[nodiscard]] QImage image();

}  // namespace Xclip
