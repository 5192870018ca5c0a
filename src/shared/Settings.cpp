#include "Settings.h"

#include "ProfileText.h"
#include "files/SafeFile.h"
#include "platform/FileNameText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How the file's bytes stand for its UTF-8 text.
enum class Encoding { Utf8, Utf8WithMark, Utf16Le, Utf16Be };

struct StoredText {
    QByteArray utf8;
    Encoding encoding = Encoding::Utf8;
};

// The whole file; empty when missing; nullopt when it exists but is no regular file,
// is larger than a settings file can be, or cannot be read. Opened without blocking,
// so that a FIFO named Set.ini cannot hang the program.
std::optional<QByteArray> readAll(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? std::optional(QByteArray()) : std::nullopt;
    struct stat info {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= Settings::MaxFileBytes) {
        bytes = QByteArray();
        char buffer[1 << 16];
        ssize_t got = 0;
        while ((got = ::read(fd, buffer, sizeof buffer)) > 0 && bytes->size() <= Settings::MaxFileBytes)
            bytes->append(buffer, got);
        if (got < 0 || bytes->size() > Settings::MaxFileBytes)
            bytes.reset();
    }
    ::close(fd);
    return bytes;
}

StoredText decoded(const QByteArray& bytes)
{
    const auto utf16 = [&](QStringConverter::Encoding from) {
        QStringDecoder decoder(from);
        const QString text = decoder.decode(bytes.mid(2));
        return text.toUtf8();
    };
    if (bytes.startsWith("\xFF\xFE"))
        return {utf16(QStringConverter::Utf16LE), Encoding::Utf16Le};
    if (bytes.startsWith("\xFE\xFF"))
        return {utf16(QStringConverter::Utf16BE), Encoding::Utf16Be};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {bytes.mid(3), Encoding::Utf8WithMark};
    return {bytes, Encoding::Utf8};
}

QByteArray encoded(const QByteArray& utf8, Encoding encoding)
{
    const auto utf16 = [&](QStringConverter::Encoding to, const char* mark) {
        QStringEncoder encoder(to);
        const QByteArray bytes = encoder.encode(QString::fromUtf8(utf8));
        return QByteArray(mark, 2) + bytes;
    };
    switch (encoding) {
    case Encoding::Utf16Le: return utf16(QStringConverter::Utf16LE, "\xFF\xFE");
    case Encoding::Utf16Be: return utf16(QStringConverter::Utf16BE, "\xFE\xFF");
    case Encoding::Utf8WithMark: return "\xEF\xBB\xBF" + utf8;
    case Encoding::Utf8: break;
    }
    return utf8;
}

std::optional<QString> storedValue(const QByteArray& path, const QString& section, const QString& key)
{
    const auto bytes = readAll(path);
    if (!bytes)
        return std::nullopt;
    return ProfileText(decoded(*bytes).utf8).value(section, key);
}

// Makes the folders of path that are missing (the XDG fallback folder is made only
// when the first setting is written there).
void makeFoldersOf(const QByteArray& path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0700);
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

Settings::Settings(const QString& path) : m_nativePath(FileNameText::encode(path)) {}

Settings::Settings(QByteArray nativePath) : m_nativePath(std::move(nativePath)) {}

QString Settings::path() const { return FileNameText::decode(m_nativePath); }

int Settings::readInt(const QString& section, const QString& key, int defaultValue) const
{
    const auto value = storedValue(m_nativePath, section, key);
    if (!value || value->isEmpty())
        return defaultValue;
    return leadingDigits(*value);
}

QString Settings::readText(const QString& section, const QString& key, const QString& defaultValue) const
{
    return cutToCharacters(storedValue(m_nativePath, section, key).value_or(defaultValue), MaxTextLength);
}

bool Settings::writeText(const QString& section, const QString& key, const QString& value) const
{
    // An existing file we cannot read would be replaced by one line: keep it instead.
    const auto old = readAll(m_nativePath);
    if (!old)
        return false;
    StoredText stored = decoded(*old);
    ProfileText text(std::move(stored.utf8));
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    text.setValue(section, key, oneLine);
    const QByteArray bytes = encoded(text.bytes(), stored.encoding);
    if (old->isEmpty())
        makeFoldersOf(m_nativePath);
    SafeFile file(m_nativePath.toStdString());
    return file.open() == SafeFileError::None
           && file.write(bytes.constData(), static_cast<std::size_t>(bytes.size())) == SafeFileError::None
           && file.commit() == SafeFileError::None;
}
