#pragma once
// The lines of a profile file as bytes, and the look-ups the Windows profile rules
// make on them. Lines keep their bytes (and a "\r" before "\n") so that a rewrite
// changes only the line it means to.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class ProfileText
{
public:
    explicit ProfileText(const QByteArray& bytes);

    // The trimmed value of the first key of the first matching section, or nullopt.
    [[nodiscard]] std::optional<QString> value(const QString& section, const QString& key) const;
    // Sets section/key to value: rewrites the key's line, or adds the key at the end of
    // its section, or adds the section at the end of the text.
    void setValue(const QString& section, const QString& key, const QString& value);

    [[nodiscard]] QByteArray bytes() const;

private:
    struct Found {
        qsizetype sectionLine = -1;   // index of the "[section]" line
        qsizetype keyLine = -1;       // index of the key's line
        qsizetype insertAfter = -1;   // last non-blank line of the section
    };
    [[nodiscard]] Found find(const QString& section, const QString& key) const;
    [[nodiscard]] QByteArray lineOf(const QString& text, qsizetype like) const;

    QList<QByteArray> m_lines;       // without "\n"
    bool m_endsWithNewline = true;   // the text's last line had its "\n"
    QByteArray m_newline = "\n";     // "\r\n" when the text already uses it
};
