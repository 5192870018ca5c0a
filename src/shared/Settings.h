#pragma once
// Set.ini: a profile file of "[section]" and "key=value" lines.
// Reads follow the Windows profile rules: section and key names match without regard
// to case, the first match wins, blanks around names and values are dropped, and a
// missing file, section or key gives the caller's default. A write touches one line
// (or adds it) and keeps every other byte of the file; it goes through the safe-file
// component, so a failed write leaves the old file as it was. Failures are silent:
// the next read simply sees the old values.
//
// The file is UTF-8, or UTF-16 with a byte-order mark as a Windows editor may have
// saved it (written back the same way). Only a regular file of at most MaxFileBytes
// is read; anything else (a FIFO, a device, a huge file) reads as unreadable and is
// never overwritten. The path is kept as the file system's bytes, so a folder name
// that is not UTF-8 is used as it is.

#include <QByteArray>
#include <QString>

class Settings
{
public:
    // The longest text readText returns, in characters; longer values are cut.
    static constexpr int MaxTextLength = 255;
    // A settings file is a few lines; a larger one is no settings file.
    static constexpr qsizetype MaxFileBytes = 4 << 20;

    explicit Settings(const QString& path);
    explicit Settings(QByteArray nativePath);

    [[nodiscard]] QString path() const;

    // The leading decimal digits of the stored value (no digits: 0); defaultValue when
    // the file, section or key is missing or the value is empty. Saturates at INT_MAX.
    [[nodiscard]] int readInt(const QString& section, const QString& key, int defaultValue) const;
    // The stored value, or defaultValue when missing; either is cut to MaxTextLength.
    [[nodiscard]] QString readText(const QString& section, const QString& key, const QString& defaultValue) const;
    // Stores value under section/key, creating the file (and its missing folders) or
    // section when missing. Line breaks in value become spaces so that a value cannot
    // add lines of its own. Returns false when nothing was written; callers may ignore it.
    bool writeText(const QString& section, const QString& key, const QString& value) const;

private:
    QByteArray m_nativePath;
};
