#include "shared/Settings.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace {

class SettingsFile
{
public:
    SettingsFile() : m_path(m_dir.filePath(QStringLiteral("Set.ini"))) {}
    explicit SettingsFile(const QByteArray& contents) : SettingsFile() { write(contents); }

    void write(const QByteArray& contents) const { ASSERT_TRUE(writeTestFile(m_path, contents)); }
    [[nodiscard]] QByteArray contents() const { return readTestFile(m_path).value_or("<missing>"); }
    [[nodiscard]] Settings settings() const { return Settings(m_path); }
    [[nodiscard]] QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

struct IntCase {
    const char* name;
    std::optional<QByteArray> file;  // nullopt: no Set.ini at all
    const char* section;
    const char* key;
    int defaultValue;
    int expected;
    friend void PrintTo(const IntCase& c, std::ostream* out) { *out << c.name; }
};

class ReadInt : public ::testing::TestWithParam<IntCase>
{};

TEST_P(ReadInt, FollowsProfileRules)
{
    const IntCase& c = GetParam();
    SettingsFile file;
    if (c.file)
        file.write(*c.file);
    EXPECT_EQ(file.settings().readInt(QString::fromUtf8(c.section), QString::fromUtf8(c.key), c.defaultValue),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ReadInt,
    ::testing::Values(
        IntCase{"NoFile", std::nullopt, "Start", "Boolean", 0, 0},
        IntCase{"NoFileOtherDefault", std::nullopt, "Start", "Boolean", 7, 7},
        IntCase{"Plain", QByteArray("[Start]\nBoolean=1\nMode=1\n"), "Start", "Mode", 0, 1},
        IntCase{"NamesIgnoreCase", QByteArray("[START]\nbOOLEAN=1\n"), "Start", "Boolean", 0, 1},
        IntCase{"BlanksTrimmed", QByteArray("  [ Start ]  \n\t Boolean  =  1  \n"), "Start", "Boolean", 0, 1},
        IntCase{"FirstKeyWins", QByteArray("[Start]\nMode=1\nMode=0\n"), "Start", "Mode", 0, 1},
        IntCase{"FirstSectionWins", QByteArray("[Start]\nMode=1\n[Start]\nMode=0\n"), "Start", "Mode", 0, 1},
        IntCase{"MissingKey", QByteArray("[Start]\nBoolean=1\n"), "Start", "Mode", 5, 5},
        IntCase{"KeyInOtherSection", QByteArray("[Other]\nMode=1\n[Start]\n"), "Start", "Mode", 0, 0},
        IntCase{"MissingSection", QByteArray("[Other]\nMode=1\n"), "Start", "Mode", 3, 3},
        IntCase{"NonNumeric", QByteArray("[Start]\nBoolean=abc\n"), "Start", "Boolean", 9, 0},
        IntCase{"LeadingDigits", QByteArray("[Start]\nBoolean=12abc\n"), "Start", "Boolean", 0, 12},
        IntCase{"Two", QByteArray("[Start]\nBoolean=2\n"), "Start", "Boolean", 0, 2},
        IntCase{"MinusIsNotADigit", QByteArray("[Start]\nBoolean=-1\n"), "Start", "Boolean", 0, 0},
        IntCase{"EmptyValue", QByteArray("[Start]\nBoolean=\n"), "Start", "Boolean", 4, 4},
        IntCase{"Huge", QByteArray("[Start]\nMode=99999999999999999999\n"), "Start", "Mode", 0, INT_MAX},
        IntCase{"CommentIsNoKey", QByteArray("[Start]\n;Boolean=1\n"), "Start", "Boolean", 0, 0},
        IntCase{"CrLf", QByteArray("[Start]\r\nBoolean=1\r\nMode=1\r\n"), "Start", "Mode", 0, 1},
        IntCase{"NoFinalNewline", QByteArray("[Start]\nMode=1"), "Start", "Mode", 0, 1},
        IntCase{"KeyBeforeAnySection", QByteArray("Mode=1\n[Start]\n"), "Start", "Mode", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Settings, TextLongerThan255IsCutOnRead)
{
    SettingsFile file;
    const QString longValue = QString(300, u'x');
    file.settings().writeText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), longValue);
    EXPECT_TRUE(file.contents().contains(longValue.toUtf8())) << "stored whole";
    const QString read = file.settings().readText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), {});
    EXPECT_EQ(read, QString(255, u'x'));
}

TEST(Settings, DefaultTextIsCutToo)
{
    SettingsFile file;
    EXPECT_EQ(file.settings().readText(QStringLiteral("A"), QStringLiteral("B"), QString(256, u'y')).size(), 255);
    EXPECT_EQ(file.settings().readText(QStringLiteral("PrintScSave"), QStringLiteral("FilePath"),
                                       QStringLiteral("Picture_####")),
              QStringLiteral("Picture_####"));
}

TEST(Settings, CutCountsCharactersNotHalves)
{
    SettingsFile file;
    const QString clef = QString::fromUtf8("\U0001D11E");  // two UTF-16 units
    QString value;
    for (int i = 0; i < 300; ++i)
        value += clef;
    file.settings().writeText(QStringLiteral("S"), QStringLiteral("K"), value);
    const QString read = file.settings().readText(QStringLiteral("S"), QStringLiteral("K"), {});
    EXPECT_EQ(read.toUcs4().size(), 255);
    EXPECT_EQ(read, value.left(510));
}

TEST(Settings, JapaneseFolderPathRoundTrip)
{
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("スクリーン ショット/設定"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const Settings settings(folder + QStringLiteral("/Set.ini"));
    const QString path = QStringLiteral("/home/ユーザー/画像/ｽｸﾘｰﾝｼｮｯﾄ　保存先");
    settings.writeText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), path);
    EXPECT_EQ(settings.readText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), {}), path);
    EXPECT_EQ(readTestFile(settings.path()), QByteArray("[PrtScSave]\nFolderPath=") + path.toUtf8() + "\n");
}

struct WriteCase {
    const char* name;
    std::optional<QByteArray> before;
    const char* section;
    const char* key;
    const char* value;
    QByteArray after;
    friend void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }
};

class WriteText : public ::testing::TestWithParam<WriteCase>
{};

TEST_P(WriteText, ChangesOnlyItsLine)
{
    const WriteCase& c = GetParam();
    SettingsFile file;
    if (c.before)
        file.write(*c.before);
    EXPECT_TRUE(
        file.settings().writeText(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QString::fromUtf8(c.value)));
    EXPECT_EQ(file.contents(), c.after);
}

const QByteArray Mixed = "; Scrimble settings\n"
                         "[PrtScSave]\n"
                         "FolderPath = /home/u/写真  \n"
                         "\n"
                         "[Start]\n"
                         "Boolean=0\n"
                         "; keep me\n"
                         "Mode=1\n"
                         "\n"
                         "[PrintScSave]\n"
                         "FilePath=Picture_####";

INSTANTIATE_TEST_SUITE_P(
    Settings, WriteText,
    ::testing::Values(WriteCase{"CreatesFile", std::nullopt, "Start", "Boolean", "1", "[Start]\nBoolean=1\n"},
                      WriteCase{"ReplacesValue", Mixed, "Start", "Boolean", "1",
                                "; Scrimble settings\n[PrtScSave]\nFolderPath = /home/u/写真  \n\n[Start]\nBoolean=1\n"
                                "; keep me\nMode=1\n\n[PrintScSave]\nFilePath=Picture_####"},
                      WriteCase{"KeyMatchedWithoutCase", Mixed, "START", "mode", "0",
                                "; Scrimble settings\n[PrtScSave]\nFolderPath = /home/u/写真  \n\n[Start]\nBoolean=0\n"
                                "; keep me\nMode=0\n\n[PrintScSave]\nFilePath=Picture_####"},
                      WriteCase{"AddsKeyAtSectionEnd", QByteArray("[Start]\nBoolean=1\n\n[Other]\nx=1\n"), "Start",
                                "Mode", "0", "[Start]\nBoolean=1\nMode=0\n\n[Other]\nx=1\n"},
                      WriteCase{"AddsSectionAfterTextWithoutNewline", Mixed, "Extra", "Key", "v",
                                Mixed + "\n[Extra]\nKey=v\n"},
                      WriteCase{"KeepsCrLf", QByteArray("[Other]\r\nx=1\r\n"), "Start", "Mode", "1",
                                "[Other]\r\nx=1\r\n[Start]\r\nMode=1\r\n"},
                      WriteCase{"LineBreaksCannotAddLines", std::nullopt, "PrtScSave", "FolderPath",
                                "/a\n[Start]\r\nBoolean=1", "[PrtScSave]\nFolderPath=/a [Start]  Boolean=1\n"},
                      WriteCase{"EmptyFile", QByteArray(""), "Start", "Mode", "1", "[Start]\nMode=1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Settings, WriteWithParentThatIsAFileIsSilent)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("notAFolder"));
    ASSERT_TRUE(writeTestFile(blocker, "plain file\n"));
    const Settings settings(blocker + QStringLiteral("/Set.ini"));
    EXPECT_FALSE(settings.writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("1")));
    EXPECT_EQ(settings.readInt(QStringLiteral("Start"), QStringLiteral("Boolean"), 0), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("notAFolder")});
}

}  // namespace
