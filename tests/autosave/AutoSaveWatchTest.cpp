// The watch without its window, on a test clipboard: every copy is written once, in
// order, and taken off the clipboard only after its file is written; a copy the watch
// cannot read or decode is passed over with a note, and the watch goes on.
#include "AutoSaveSession.h"
#include "AutoSaveWatch.h"

#include "CopyBytes.h"
#include "FakeClipboard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

namespace {

void runEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
}

class WatchTest : public testing::Test
{
protected:
    WatchTest()
    {
        static int argc = 1;
        static char name[] = "autosave_logic_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
        session.setFolder(QString::fromStdString(dir.path()));
        static_cast<void>(session.checkPattern());
        // The mode's part: the session moves on with each file written.
        QObject::connect(&watch, &AutoSaveWatch::saved, [this](const QString& file, const NamingState& after) {
            saved.push_back(QFile::encodeName(file).toStdString());
            session.fileWritten(after);
            serial = after.serial;
        });
        QObject::connect(&watch, &AutoSaveWatch::failed, [this](const QString&, const DibStatus&) { ++failures; });
        QObject::connect(&watch, &AutoSaveWatch::passedOver, [this](const QString& line) { notes.push_back(line); });
        watch.start(std::chrono::milliseconds(50));
    }

    // One tick, then the events until the files number `files`, and a while more for
    // a read's answer or a write that should not come.
    void tickUntil(std::size_t files)
    {
        watch.tick(session.naming(), session.format());
        runEventsUntil([&] { return saved.size() >= files; }, files > saved.size() ? 5000 : 0);
        runEventsUntil([] { return false; }, 100);
    }
    [[nodiscard]] std::uint32_t colourOf(std::size_t file) const
    {
        const PillowImage read = decodeWithPillow(saved.at(file));
        return read.ok ? read.rgb.front() : 0xFFFFFFFFu;
    }

    TempDir dir;
    AutoSaveSession session;
    FakeClipboard clipboard;
    AutoSaveWatch watch{clipboard, [](const QString& name) { return !QFile::exists(name); }};
    std::vector<std::string> saved;
    QString serial;
    std::vector<QString> notes;
    int failures = 0;
};

const QByteArray Blue = copyBytes(0x336699, CopyType::Png);
const QByteArray Red = copyBytes(0x993322, CopyType::Png);

TEST_F(WatchTest, TextStaysAndIsLookedAtOnce)
{
    clipboard.copyText();
    const ClipboardCopyId text = clipboard.generation;
    tickUntil(0);
    tickUntil(0);
    EXPECT_EQ(clipboard.reads, 1);
    EXPECT_EQ(clipboard.generation, text) << "the text was cleared";
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(WatchTest, ImageIsSavedThenClearedOnce)
{
    clipboard.copy(Blue);
    tickUntil(1);
    tickUntil(1);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Picture_0000.bmp"});
    EXPECT_FALSE(clipboard.held.has_value());
    EXPECT_EQ(serial, QStringLiteral("1"));
    EXPECT_EQ(colourOf(0), 0x336699u);
}

TEST_F(WatchTest, CopyWhileWritingStaysForTheNextLook)
{
    clipboard.copy(Blue);
    clipboard.afterRead = [this] { clipboard.copy(Red); };
    tickUntil(1);
    ASSERT_TRUE(clipboard.held.has_value()) << "the later copy was cleared unsaved";
    tickUntil(2);
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(colourOf(0), 0x336699u);
    EXPECT_EQ(colourOf(1), 0x993322u);
}

TEST_F(WatchTest, FailedWriteStopsTheWatchAndKeepsTheImage)
{
    session.setFolder(QString::fromStdString(dir.file("missing")));
    clipboard.copy(Blue);
    tickUntil(1);
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(clipboard.held.has_value());
    clipboard.copy(Red);
    tickUntil(1);
    EXPECT_EQ(clipboard.reads, 1) << "the watch went on after the failure";
}

// A copy ticked before the mode has heard of the file before it goes on from that
// file's number: even with overwriting allowed, it does not replace that file.
TEST_F(WatchTest, CopyTickedBeforeTheLastFileWasReportedTakesTheNextNumber)
{
    session.setOverwriteAllowed(true);
    clipboard.copy(Blue);
    clipboard.afterRead = [this] {
        clipboard.copy(Red);
        watch.tick(session.naming(), session.format());
    };
    watch.tick(session.naming(), session.format());
    runEventsUntil([this] { return saved.size() >= 2; });
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"Picture_0000.bmp", "Picture_0001.bmp"}));
    EXPECT_EQ(colourOf(0), 0x336699u);
    EXPECT_EQ(colourOf(1), 0x993322u);
    EXPECT_EQ(serial, QStringLiteral("2"));
}

// The names are the session's: a serial number typed between two watches is the next.
TEST_F(WatchTest, SerialTypedBetweenWatchesNamesTheNextFile)
{
    clipboard.copy(Blue);
    tickUntil(1);
    watch.stop();
    ASSERT_FALSE(session.editSerial(QStringLiteral("7")));
    watch.start(std::chrono::milliseconds(50));
    clipboard.copy(Red);
    tickUntil(2);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"Picture_0000.bmp", "Picture_0007.bmp"}));
    EXPECT_EQ(serial, QStringLiteral("8"));
}

// A clipboard manager (or the compositor) puts the image just saved back after the
// clearing: no second file. The program's own copy of the same image (a second Print
// press on an unchanged screen) is a new capture.
TEST_F(WatchTest, RestoredImageIsNotSavedAgainButOwnCopyIs)
{
    clipboard.copy(Blue);
    tickUntil(1);
    clipboard.copy(Blue);
    tickUntil(1);
    EXPECT_EQ(saved.size(), 1u);
    watch.expectOwnCopy();
    clipboard.copy(Blue);
    tickUntil(2);
    EXPECT_EQ(saved.size(), 2u);
    clipboard.copy(Red);
    tickUntil(3);
    EXPECT_EQ(saved.size(), 3u);
}

struct PassedOverCase {
    const char* name;
    std::optional<ClipboardCopy::Outcome> readOutcome;
    std::function<QByteArray()> bytes;
    const char16_t* note;
};

class WatchPassesOver : public WatchTest, public testing::WithParamInterface<PassedOverCase>
{};

// A copy that cannot be read or decoded is said in one line, not read again, and the
// next good copy is saved.
TEST_P(WatchPassesOver, WithANoteAndGoesOn)
{
    const PassedOverCase& c = GetParam();
    clipboard.readOutcome = c.readOutcome;
    clipboard.copy(c.bytes());
    tickUntil(0);
    runEventsUntil([this] { return !notes.empty(); });
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes.front(), QString::fromUtf16(c.note));
    tickUntil(0);
    EXPECT_EQ(clipboard.reads, 1);
    EXPECT_TRUE(dir.entries().empty());
    clipboard.readOutcome.reset();
    clipboard.copy(Blue);
    tickUntil(1);
    EXPECT_EQ(saved.size(), 1u);
}

constexpr char16_t TooLarge[] = u"クリップボードの画像が大きすぎるため、このコピーは保存しませんでした。";
INSTANTIATE_TEST_SUITE_P(
    Copies, WatchPassesOver,
    testing::Values(
        PassedOverCase{"OwnerThatNeverAnswers", ClipboardCopy::Outcome::TimedOut, [] { return Red; },
                       u"クリップボードの持ち主が応答しないため、このコピーは保存しませんでした。"},
        PassedOverCase{"MoreBytesThanTheCap", ClipboardCopy::Outcome::TooLarge, [] { return Red; }, TooLarge},
        PassedOverCase{"TextChunkClaimingTwoGigabytes", std::nullopt, [] { return asBytes(pngWithHugeTextChunk()); },
                       u"クリップボードの画像を読み取れないため、このコピーは保存しませんでした。"},
        PassedOverCase{"BombBeyondTheLimit", std::nullopt, [] { return asBytes(blackOneBitPng(30000)); }, TooLarge}),
    [](const testing::TestParamInfo<PassedOverCase>& info) { return std::string(info.param.name); });

}  // namespace
