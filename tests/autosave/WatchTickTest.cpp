// One look at the clipboard: what is written, what stays on the clipboard and where
// the serial number stands afterwards. No image is lost and, without overwriting, no
// existing file is touched.
#include "WatchTick.h"

#include "CaseName.h"
#include "FakeClipboard.h"
#include "FileSizeLimit.h"
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <fstream>

namespace {

const std::string Untouched = "not an image\n";

DeviceContext picture(std::uint32_t colour)
{
    DeviceContext dc(32, 24);
    dc.fill(0xFF000000u | colour);
    return dc;
}

struct TickCase {
    const char* name;
    const char* pattern;
    const char* serial;
    bool overwrite;
    std::vector<std::string> existing;  // files there before, each Untouched
    std::function<void(FakeClipboard&)> clipboardBefore;
    bool missingFolder;
    TickResult::Outcome outcome;
    const char* savedAs;       // Saved: the file's name in the folder
    bool imageStays;           // the clipboard still holds an image afterwards
    const char* serialAfter;
};

class WatchTickTest : public testing::TestWithParam<TickCase>
{
};

TEST_P(WatchTickTest, SavesFirstClearsAfter)
{
    const TickCase& c = GetParam();
    TempDir dir;
    for (const std::string& name : c.existing)
        std::ofstream(dir.file(name)) << Untouched;
    FakeClipboard clipboard;
    c.clipboardBefore(clipboard);
    NamingState naming;
    naming.folder = QString::fromStdString(c.missingFolder ? dir.file("missing") : dir.path());
    naming.pattern = QString::fromUtf8(c.pattern);
    ASSERT_EQ(NormalizePattern(naming), PatternCheck::Normalized);
    naming.serial = QString::fromUtf8(c.serial);
    naming.overwriteAllowed = c.overwrite;

    const TickResult result = WatchTick(clipboard, naming, CaptureFormat{},
                                        [](const QString& name) { return !QFile::exists(name); });

    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(clipboard.held.has_value(), c.imageStays);
    EXPECT_EQ(naming.serial, QString::fromUtf8(c.serialAfter));
    for (const std::string& name : c.existing) {
        if (!c.overwrite) {
            EXPECT_EQ(readFileBytes(dir.file(name)), std::vector<std::uint8_t>(Untouched.begin(), Untouched.end())) << name;
        }
    }
    if (c.outcome == TickResult::Outcome::Saved) {
        EXPECT_EQ(result.fileName, QString::fromStdString(dir.file(c.savedAs)));
        const PillowImage read = decodeWithPillow(dir.file(c.savedAs));
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.rgb.front(), 0x336699u);
    }
    if (c.outcome == TickResult::Outcome::Failed) {
        EXPECT_TRUE(result.fileName.endsWith(QStringLiteral("/missing/Picture_0000.bmp"))) << result.fileName.toStdString();
    }
}

const auto image = [](FakeClipboard& clipboard) { clipboard.copy(picture(0x336699)); };
const auto text = [](FakeClipboard& clipboard) { clipboard.copyText(); };
using Outcome = TickResult::Outcome;

INSTANTIATE_TEST_SUITE_P(
    Ticks, WatchTickTest,
    testing::Values(
        TickCase{"EmptyClipboard", "Picture_####", "0", false, {}, [](FakeClipboard&) {}, false, Outcome::NothingNew, "", false, "0"},
        TickCase{"TextStays", "Picture_####", "0", false, {}, text, false, Outcome::NothingNew, "", false, "0"},
        TickCase{"ImageSavedThenCleared", "Picture_####", "0", false, {}, image, false, Outcome::Saved, "Picture_0000.bmp", false, "1"},
        TickCase{"MissingFolderKeepsImageAndNumber", "Picture_####", "0", false, {}, image, true, Outcome::Failed, "", true, "0"},
        TickCase{"FirstNameTakenSkipsToAFreeOne", "Picture_####", "0", false, {"Picture_0000.bmp", "Picture_0002.bmp"}, image, false, Outcome::Saved, "Picture_0001.bmp", false, "3"},
        TickCase{"OverwriteAllowedReplaces", "Picture_####", "0", true, {"Picture_0000.bmp"}, image, false, Outcome::Saved, "Picture_0000.bmp", false, "1"},
        TickCase{"MaximumTakenGoesToTheOverflowName", "Shot#", "9", false, {"Shot9.bmp"}, image, false, Outcome::Saved, "Shot0_$.bmp", false, "1"},
        TickCase{"CopyWhileWritingStaysForTheNextLook", "Picture_####", "0", false, {},
                 [](FakeClipboard& clipboard) {
                     clipboard.copy(picture(0x336699));
                     clipboard.afterTake = [&clipboard] {
                         clipboard.afterTake = nullptr;
                         clipboard.copy(picture(0x112233));
                     };
                 },
                 false, Outcome::Saved, "Picture_0000.bmp", true, "1"}),
    OwnCaseName());

// An unchanged clipboard is asked once per tick at most, and what is taken is gone
// after the save: the next tick finds nothing.
TEST(WatchTick, TwoTicksSaveOneCopyOnce)
{
    TempDir dir;
    FakeClipboard clipboard;
    clipboard.copy(picture(0x336699));
    NamingState naming;
    naming.folder = QString::fromStdString(dir.path());
    static_cast<void>(NormalizePattern(naming));
    const FileIsFree isFree = [](const QString& name) { return !QFile::exists(name); };
    EXPECT_EQ(WatchTick(clipboard, naming, CaptureFormat{}, isFree).outcome, Outcome::Saved);
    EXPECT_EQ(WatchTick(clipboard, naming, CaptureFormat{}, isFree).outcome, Outcome::NothingNew);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Picture_0000.bmp"});
}

// A full disk (a file-size limit, which binds root too) fails the write: the image
// stays on the clipboard, the number stays, and no partial file is left.
TEST(WatchTick, FullDiskKeepsTheImageAndTheNumber)
{
    TempDir dir;
    const int failures = runUnderFileSizeLimit(1024, [&] {
        FakeClipboard clipboard;
        clipboard.copy(picture(0x336699));
        NamingState naming;
        naming.folder = QString::fromStdString(dir.path());
        static_cast<void>(NormalizePattern(naming));
        const TickResult result = WatchTick(clipboard, naming, CaptureFormat{}, [](const QString&) { return true; });
        return (result.outcome != Outcome::Failed) | (!clipboard.held) << 1 | (naming.serial != u"0") << 2
               | (result.status.error != DibError::WriteFailed) << 3;
    });
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
