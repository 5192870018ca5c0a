#include "ProfileText.h"

#include "platform/FileNameText.h"

namespace {

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

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

ProfileText::ProfileText(QByteArray utf8) : m_text(std::move(utf8)) {}

ProfileText::Line ProfileText::lineAt(qsizetype begin) const
{
    Line line{begin, begin, begin};
    const char* text = m_text.constData();
    const qsizetype size = m_text.size();
    while (line.end < size && text[line.end] != '\n' && text[line.end] != '\r')
        ++line.end;
    line.next = line.end;
    if (line.next < size && text[line.next] == '\r')
        ++line.next;
    if (line.next < size && text[line.next] == '\n' && (line.next == line.end || text[line.next - 1] == '\r'))
        ++line.next;
    return line;
}

QString ProfileText::textOf(const Line& line) const
{
    return FileNameText::decode(m_text.mid(line.begin, line.end - line.begin)).trimmed();
}

ProfileText::Found ProfileText::find(const QString& section, const QString& key) const
{
    Found found;
    bool inSection = false;
    for (qsizetype at = 0; at < m_text.size();) {
        const Line line = lineAt(at);
        at = line.next;
        const QString text = textOf(line);
        if (const auto name = sectionName(text)) {
            if (found.section)
                break;  // the first matching section ended; later duplicates are not read
            inSection = sameName(*name, section);
            if (inSection) {
                found.section = true;
                found.last = line;
            }
            continue;
        }
        if (!inSection || text.isEmpty())
            continue;
        found.last = line;
        const auto pair = keyValue(text);
        if (pair && !found.key && sameName(pair->key, key))
            found.key = line;
    }
    return found;
}

std::optional<QString> ProfileText::value(const QString& section, const QString& key) const
{
    const Found found = find(section, key);
    if (!found.key)
        return std::nullopt;
    return keyValue(textOf(*found.key))->value;
}

QByteArray ProfileText::usualEnding() const
{
    if (m_text.contains("\r\n"))
        return "\r\n";
    return m_text.contains('\r') ? "\r" : "\n";
}

QByteArray ProfileText::endingOf(const Line& line) const
{
    return line.next > line.end ? m_text.mid(line.end, line.next - line.end) : usualEnding();
}

void ProfileText::setValue(const QString& section, const QString& key, const QString& value)
{
    const Found found = find(section, key);
    if (found.key) {
        const QString existingKey = keyValue(textOf(*found.key))->key;
        m_text.replace(found.key->begin, found.key->end - found.key->begin,
                       FileNameText::encode(existingKey + u'=' + value));
        return;
    }
    const QByteArray entry = FileNameText::encode(key + u'=' + value);
    if (found.section) {
        const QByteArray ending = endingOf(found.last);
        // After a last line without an ending, the new line needs one before it.
        m_text.insert(found.last.next, found.last.next > found.last.end ? entry + ending : ending + entry);
        return;
    }
    const QByteArray ending = usualEnding();
    if (!m_text.isEmpty() && !m_text.endsWith('\n') && !m_text.endsWith('\r'))
        m_text += ending;
    m_text += (u'[' + section + u']').toUtf8() + ending + entry + ending;
}
