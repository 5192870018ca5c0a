#include "Settings.h"

#include "ProfileText.h"
#include "files/SafeFile.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <optional>

namespace {

// The whole file, nullopt when it exists but cannot be read; empty when missing.
std::optional<QByteArray> readAll(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::optional<QString> storedValue(const QString& path, const QString& section, const QString& key)
{
    const auto bytes = readAll(path);
    if (!bytes)
        return std::nullopt;
    return ProfileText(*bytes).value(section, key);
}

// The first count characters; a character outside the basic plane is one, not two.
QString cutToCharacters(const QString& text, int count)
{
    qsizetype units = 0;
    for (int taken = 0; taken < count && units < text.size(); ++taken)
        units += (text[units].isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
    return text.left(units);
}

int leadingDigits(const QString& text)
{
    long long value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = std::min<long long>(value * 10 + (c.unicode() - u'0'), INT_MAX);
    }
    return static_cast<int>(value);
}

}  // namespace

Settings::Settings(QString path) : m_path(std::move(path)) {}

int Settings::readInt(const QString& section, const QString& key, int defaultValue) const
{
    const auto value = storedValue(m_path, section, key);
    if (!value || value->isEmpty())
        return defaultValue;
    return leadingDigits(*value);
}

QString Settings::readText(const QString& section, const QString& key, const QString& defaultValue) const
{
    return cutToCharacters(storedValue(m_path, section, key).value_or(defaultValue), MaxTextLength);
}

bool Settings::writeText(const QString& section, const QString& key, const QString& value) const
{
    // An existing file we cannot read would be replaced by one line: keep it instead.
    const auto old = readAll(m_path);
    if (!old)
        return false;
    ProfileText text(*old);
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    text.setValue(section, key, oneLine);
    const QByteArray bytes = text.bytes();
    SafeFile file(QFile::encodeName(m_path).toStdString());
    return file.open() == SafeFileError::None
           && file.write(bytes.constData(), static_cast<std::size_t>(bytes.size())) == SafeFileError::None
           && file.commit() == SafeFileError::None;
}
