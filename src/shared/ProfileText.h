#pragma once
// A profile file's text (UTF-8 bytes; a byte that is no UTF-8, such as a Shift-JIS
// folder name, is kept through FileNameText) and the look-ups the Windows profile rules make
// on it. The text is kept as it is and scanned line by line, so that memory stays
// near the file's own size and a rewrite changes only the line it means to. Lines end
// in "\n", "\r\n" or a lone "\r"; a line added takes its neighbour's ending.

#include <QByteArray>
#include <QString>

#include <optional>

class ProfileText
{
public:
    explicit ProfileText(QByteArray utf8);

    // The trimmed value of the first key of the first matching section, or nullopt.
    [[nodiscard]] std::optional<QString> value(const QString& section, const QString& key) const;
    // Sets section/key to value: rewrites the key's line, or adds the key at the end of
    // its section, or adds the section at the end of the text.
    void setValue(const QString& section, const QString& key, const QString& value);

    [[nodiscard]] const QByteArray& bytes() const { return m_text; }

private:
    // One line: its text at [begin, end), its ending up to next.
    struct Line {
        qsizetype begin = 0;
        qsizetype end = 0;
        qsizetype next = 0;
    };
    struct Found {
        bool section = false;
        std::optional<Line> key;  // the key's line
        Line last;                // the section's last non-blank line
    };
    [[nodiscard]] Line lineAt(qsizetype begin) const;
    [[nodiscard]] QString textOf(const Line& line) const;
    [[nodiscard]] Found find(const QString& section, const QString& key) const;
    // "\r\n" or "\r" when the text uses it, else "\n".
    [[nodiscard]] QByteArray usualEnding() const;
    // The ending of line, or the text's usual one when line has none.
    [[nodiscard]] QByteArray endingOf(const Line& line) const;

    QByteArray m_text;
};
