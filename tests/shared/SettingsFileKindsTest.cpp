// Set.ini as users' machines have it: not always a plain UTF-8 file of a few lines.
#include "shared/Settings.h"

#include "TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Start = QStringLiteral("Start");
const QString Mode = QStringLiteral("Mode");
const QString Boolean = QStringLiteral("Boolean");

// Anything but a regular file of settings size reads as unreadable: the defaults, no
// hang, no endless read, and nothing overwritten. setup() makes Set.ini at path.
struct UnreadableCase {
    const char* name;
    std::function<void(const QString& path)> setup;
};

class UnreadableSettings : public testing::TestWithParam<UnreadableCase>
{};

TEST_P(UnreadableSettings, GivesDefaultsAndIsKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Set.ini"));
    GetParam().setup(path);
    const QFileInfo before(path);
    const Settings settings(path);
    EXPECT_EQ(settings.readInt(Start, Mode, 7), 7);
    EXPECT_FALSE(settings.writeText(Start, Boolean, QStringLiteral("0")));
    const QFileInfo after(path);
    EXPECT_EQ(after.isSymLink(), before.isSymLink());
    EXPECT_EQ(after.size(), before.size());
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableSettings,
    testing::Values(UnreadableCase{"Fifo",
                                   [](const QString& path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); }},
                    UnreadableCase{"LinkToAnEndlessDevice",
                                   [](const QString& path) { QFile::link(QStringLiteral("/dev/zero"), path); }},
                    UnreadableCase{"LargerThanASettingsFile",
                                   [](const QString& path) {
                                       QByteArray lines = "[Start]\nMode=1\n";
                                       lines += QByteArray(Settings::MaxFileBytes, '\n');
                                       ASSERT_TRUE(writeTestFile(path, lines));
                                   }}),
    [](const auto& info) { return std::string(info.param.name); });

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding, const char* mark)
{
    QStringEncoder encoder(encoding);
    const QByteArray bytes = encoder.encode(text);
    return QByteArray(mark, 2) + bytes;
}

// A file as a Windows editor may save it reads, and is written back the same way.
struct EncodingCase {
    const char* name;
    QByteArray before;
    QByteArray after;  // once Boolean=0 is written
};

class SettingsEncoding : public testing::TestWithParam<EncodingCase>
{};

TEST_P(SettingsEncoding, ReadsAndWritesBackTheSameWay)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Set.ini"));
    ASSERT_TRUE(writeTestFile(path, GetParam().before));
    const Settings settings(path);
    EXPECT_EQ(settings.readInt(Start, Mode, 7), 1);
    EXPECT_TRUE(settings.writeText(Start, Boolean, QStringLiteral("0")));
    EXPECT_EQ(readTestFile(path), GetParam().after);
}

const QString Before = QStringLiteral("[Start]\r\nMode=1\r\n");
const QString After = QStringLiteral("[Start]\r\nMode=1\r\nBoolean=0\r\n");

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsEncoding,
    testing::Values(EncodingCase{"Utf16LittleEndian", utf16(Before, QStringConverter::Utf16LE, "\xFF\xFE"),
                                 utf16(After, QStringConverter::Utf16LE, "\xFF\xFE")},
                    EncodingCase{"Utf16BigEndian", utf16(Before, QStringConverter::Utf16BE, "\xFE\xFF"),
                                 utf16(After, QStringConverter::Utf16BE, "\xFE\xFF")},
                    EncodingCase{"Utf8WithByteOrderMark", "\xEF\xBB\xBF" + Before.toUtf8(),
                                 "\xEF\xBB\xBF" + After.toUtf8()},
                    EncodingCase{"CarriageReturnsOnly", "[Start]\rMode=1\r", "[Start]\rMode=1\rBoolean=0\r"}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder named in Shift-JIS, as a Windows archive unpacks it: used byte for byte.
TEST(SettingsPath, FolderThatIsNotUtf8IsUsedAsItIs)
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/\x83\x58\x83\x4E";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const Settings settings(folder + "/Set.ini");
    EXPECT_TRUE(settings.writeText(Start, Mode, QStringLiteral("1")));
    EXPECT_EQ(::access((folder + "/Set.ini").constData(), R_OK), 0);
    EXPECT_EQ(settings.readInt(Start, Mode, 7), 1);
}

}  // namespace
