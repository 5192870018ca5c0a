#pragma once
// File-system names as text without loss. A name is bytes, mostly UTF-8; a folder
// unpacked from a Windows archive may carry Shift-JIS bytes, which Qt's own decoding
// turns into U+FFFD for good. Here each byte that is not part of a UTF-8 character
// becomes the lone surrogate U+DC80..U+DCFF, which no UTF-8 text can hold, and turns
// back into the same byte: the name written to Set.ini or opened is the one read.

#include <QByteArray>
#include <QString>

namespace FileNameText {

[[nodiscard]] QString decode(const QByteArray& bytes);
[[nodiscard]] QByteArray encode(const QString& text);

}  // namespace FileNameText
