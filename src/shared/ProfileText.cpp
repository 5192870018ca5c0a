#include "ProfileText.h"

namespace {

// A line's text without its "\r", trimmed.
QString trimmedText(const QByteArray& line)
{
    return QString::fromUtf8(line).trimmed();
}

// "[name]" gives name; any other line nullopt.
std::optional<QString> sectionName(const QString& text)
{
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    return text.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

struct KeyValue {
    QString key;
    QString value;
};

// "key = value" gives both trimmed; comments and lines without "=" give nullopt.
std::optional<KeyValue> keyValue(const QString& text)
{
    const qsizetype equals = text.indexOf(u'=');
    if (text.startsWith(u';') || equals <= 0)
        return std::nullopt;
    return KeyValue{text.left(equals).trimmed(), text.mid(equals + 1).trimmed()};
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

ProfileText::ProfileText(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    m_lines = bytes.split('\n');
    m_endsWithNewline = bytes.endsWith('\n');
    if (m_endsWithNewline)
        m_lines.removeLast();
    if (bytes.contains("\r\n"))
        m_newline = "\r\n";
}

ProfileText::Found ProfileText::find(const QString& section, const QString& key) const
{
    Found found;
    bool inSection = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString text = trimmedText(m_lines[i]);
        if (const auto name = sectionName(text)) {
            if (found.sectionLine >= 0)
                break;  // the first matching section ended; later duplicates are not read
            inSection = sameName(*name, section);
            if (inSection)
                found.sectionLine = found.insertAfter = i;
            continue;
        }
        if (!inSection || text.isEmpty())
            continue;
        found.insertAfter = i;
        const auto pair = keyValue(text);
        if (pair && found.keyLine < 0 && sameName(pair->key, key))
            found.keyLine = i;
    }
    return found;
}

std::optional<QString> ProfileText::value(const QString& section, const QString& key) const
{
    const Found found = find(section, key);
    if (found.keyLine < 0)
        return std::nullopt;
    return keyValue(trimmedText(m_lines[found.keyLine]))->value;
}

QByteArray ProfileText::lineOf(const QString& text, qsizetype like) const
{
    QByteArray line = text.toUtf8();
    if (like >= 0 && m_lines[like].endsWith('\r'))
        line += '\r';
    else if (like < 0 && m_newline == "\r\n")
        line += '\r';
    return line;
}

void ProfileText::setValue(const QString& section, const QString& key, const QString& value)
{
    const Found found = find(section, key);
    if (found.keyLine >= 0) {
        const QString existingKey = keyValue(trimmedText(m_lines[found.keyLine]))->key;
        m_lines[found.keyLine] = lineOf(existingKey + u'=' + value, found.keyLine);
        return;
    }
    if (found.sectionLine >= 0) {
        m_lines.insert(found.insertAfter + 1, lineOf(key + u'=' + value, found.insertAfter));
        return;
    }
    m_endsWithNewline = true;
    m_lines.append(lineOf(u'[' + section + u']', -1));
    m_lines.append(lineOf(key + u'=' + value, -1));
}

QByteArray ProfileText::bytes() const
{
    QByteArray out = m_lines.join('\n');
    if (m_endsWithNewline && !m_lines.isEmpty())
        out += '\n';
    return out;
}
