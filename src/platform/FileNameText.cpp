#include "FileNameText.h"

namespace {

constexpr char32_t EscapeBase = 0xDC00;

// The length of the UTF-8 character at bytes[at] and its code point, or 0 where the
// bytes there are no character (a stray byte, an overlong form, a surrogate).
int characterAt(const QByteArray& bytes, qsizetype at, char32_t& code)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const int length = lead < 0x80                   ? 1
                       : lead >= 0xC2 && lead < 0xE0 ? 2
                       : lead >= 0xE0 && lead < 0xF0 ? 3
                       : lead >= 0xF0 && lead < 0xF5 ? 4
                                                     : 0;
    if (length == 0 || at + length > bytes.size())
        return 0;
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (next & 0x3F);
    }
    constexpr char32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code < 0xE000;
    return code < Least[length] || surrogate || code > 0x10FFFF ? 0 : length;
}

bool isEscape(QChar c) { return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF; }

}  // namespace

namespace FileNameText {

QString decode(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t code = 0;
        const int length = characterAt(bytes, at, code);
        if (length == 0) {
            text += QChar(static_cast<char16_t>(EscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        text += QString::fromUcs4(&code, 1);
        at += length;
    }
    return text;
}

QByteArray encode(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool paired = i > 0 && text[i - 1].isHighSurrogate();
        if (!isEscape(text[i]) || paired)
            continue;
        bytes += QStringView(text).sliced(runStart, i - runStart).toUtf8();
        bytes += static_cast<char>(text[i].unicode() - EscapeBase);
        runStart = i + 1;
    }
    return bytes + QStringView(text).sliced(runStart).toUtf8();
}

}  // namespace FileNameText
