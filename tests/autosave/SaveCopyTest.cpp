// One copy written: what is written, where the serial number stands afterwards, and
// what the image library refuses to decode. Without overwriting, no existing file is
// touched.
#include "SaveCopy.h"

#include "CaseName.h"
#include "CopyBytes.h"
#include "FileSizeLimit.h"
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

#include <fstream>

namespace {

const std::string Untouched = "not an image\n";

struct SaveCase {
    const char* name;
    const char* pattern;
    const char* serial;
    bool overwrite;
    std::vector<std::string> existing;  // files there before, each Untouched
    std::function<QByteArray()> bytes;  // the copy
    bool missingFolder;
    SaveResult::Outcome outcome;
    const char* savedAs;  // Saved: the file's name in the folder
    const char* serialAfter;
};

class SaveCopyTest : public testing::TestWithParam<SaveCase>
{};

TEST_P(SaveCopyTest, WritesTheNextNameOrSaysWhy)
{
    const SaveCase& c = GetParam();
    TempDir dir;
    for (const std::string& name : c.existing)
        std::ofstream(dir.file(name)) << Untouched;
    NamingState naming;
    naming.folder = QString::fromStdString(c.missingFolder ? dir.file("missing") : dir.path());
    naming.pattern = QString::fromUtf8(c.pattern);
    ASSERT_EQ(NormalizePattern(naming), PatternCheck::Normalized);
    naming.serial = QString::fromUtf8(c.serial);
    naming.overwriteAllowed = c.overwrite;

    const SaveResult result =
        SaveCopy(c.bytes(), naming, CaptureFormat{}, [](const QString& name) { return !QFile::exists(name); });

    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(naming.serial, QString::fromUtf8(c.serialAfter));
    for (const std::string& name : c.existing) {
        if (!c.overwrite) {
            EXPECT_EQ(readFileBytes(dir.file(name)), std::vector<std::uint8_t>(Untouched.begin(), Untouched.end()))
                << name;
        }
    }
    if (c.outcome == SaveResult::Outcome::Saved) {
        EXPECT_EQ(result.fileName, QString::fromStdString(dir.file(c.savedAs)));
        const PillowImage read = decodeWithPillow(dir.file(c.savedAs));
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.rgb.front(), 0x336699u);
    }
    if (c.outcome == SaveResult::Outcome::Failed) {
        EXPECT_TRUE(result.fileName.endsWith(QStringLiteral("/missing/Picture_0000.bmp")))
            << result.fileName.toStdString();
    }
    if (c.outcome == SaveResult::Outcome::Unreadable) {
        EXPECT_EQ(dir.entries().size(), c.existing.size());
    }
}

const auto png = [] { return copyBytes(0x336699, CopyType::Png); };
using Outcome = SaveResult::Outcome;

INSTANTIATE_TEST_SUITE_P(
    Copies, SaveCopyTest,
    testing::Values(
        SaveCase{"ImageSaved", "Picture_####", "0", false, {}, png, false, Outcome::Saved, "Picture_0000.bmp", "1"},
        SaveCase{"BmpCopyOfEightBits",
                 "Picture_####",
                 "0",
                 false,
                 {},
                 [] { return copyBytes(0x336699, CopyType::Bmp8); },
                 false,
                 Outcome::Saved,
                 "Picture_0000.bmp",
                 "1"},
        SaveCase{"MissingFolderKeepsTheNumber", "Picture_####", "0", false, {}, png, true, Outcome::Failed, "", "0"},
        SaveCase{"FirstNameTakenSkipsToAFreeOne",
                 "Picture_####",
                 "0",
                 false,
                 {"Picture_0000.bmp", "Picture_0002.bmp"},
                 png,
                 false,
                 Outcome::Saved,
                 "Picture_0001.bmp",
                 "3"},
        SaveCase{"OverwriteAllowedReplaces",
                 "Picture_####",
                 "0",
                 true,
                 {"Picture_0000.bmp"},
                 png,
                 false,
                 Outcome::Saved,
                 "Picture_0000.bmp",
                 "1"},
        SaveCase{"MaximumTakenGoesToTheOverflowName",
                 "Shot#",
                 "9",
                 false,
                 {"Shot9.bmp"},
                 png,
                 false,
                 Outcome::Saved,
                 "Shot0_$.bmp",
                 "1"},
        SaveCase{"DamagedBytes",
                 "Picture_####",
                 "0",
                 false,
                 {},
                 [] { return QByteArray("\x89PNG\r\n\x1a\nrest"); },
                 false,
                 Outcome::Unreadable,
                 "",
                 "0"},
        SaveCase{"TextChunkClaimingTwoGigabytes",
                 "Picture_####",
                 "0",
                 false,
                 {},
                 [] { return asBytes(pngWithHugeTextChunk()); },
                 false,
                 Outcome::Unreadable,
                 "",
                 "0"},
        SaveCase{"BombBeyondTheLimit",
                 "Picture_####",
                 "0",
                 false,
                 {},
                 [] { return asBytes(blackOneBitPng(30000)); },
                 false,
                 Outcome::Unreadable,
                 "",
                 "0"}),
    OwnCaseName());

// A full disk (a file-size limit, which binds root too) fails the write: the number
// stays, and no partial file is left.
TEST(SaveCopy, FullDiskKeepsTheNumber)
{
    TempDir dir;
    const QByteArray bytes = copyBytes(0x336699, CopyType::Png);
    const int failures = runUnderFileSizeLimit(1024, [&] {
        NamingState naming;
        naming.folder = QString::fromStdString(dir.path());
        static_cast<void>(NormalizePattern(naming));
        const SaveResult result = SaveCopy(bytes, naming, CaptureFormat{}, [](const QString&) { return true; });
        return (result.outcome != Outcome::Failed) | (naming.serial != u"0") << 1
               | (result.status.error != DibError::WriteFailed) << 2;
    });
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
