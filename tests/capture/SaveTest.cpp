// The save and the clipboard copy as the user drives them: typed selection, options,
// the file-save dialog answered through the seam, files read back by Pillow.

#include "CaptureFixture.h"
#include "CaseName.h"
#include "ImageOutput.h"
#include "ImagingTestSupport.h"
#include "QtPrinters.h"
#include "formcom.h"
#include "gazou.h"
#include "platform/X11Clipboard.h"
#include "scrimble.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// An outline drawn once (typed coordinates do not show a hidden one), then the
// selection (100, 50)-(160, 90) typed and committed, at 200 %.
bool typeSelection(CaptureFixture& f)
{
    MouseDrag(f.desktop(), QPointF(500, 500), QPointF(520, 520));
    return f.type({{"Text2", "200"}, {"sX", "100"}, {"sY", "50"}, {"eX", "160"}, {"eY", "90"}});
}

void saveAs(CaptureFixture& f, const QString& path, int filterIndex)
{
    f.test.dialogs->saveAnswers.push_back(SaveFileAnswer{path, filterIndex});
    QTest::mouseClick(PanelButton(f.panel(), "Command1"), Qt::LeftButton);
}

bool saidError(const CaptureFixture& f, const QString& containing)
{
    const auto& messages = f.test.dialogs->messages;
    return messages.size() == 1 && messages[0].title == SaveErrorTitle() && messages[0].text.contains(containing);
}

struct WriteCase {
    const char* name;
    int filter;
    const char* fileName;
    int depth;
    bool rle;
    int colorMode;
    bool detailed;
    const char* format;
    QSize size;
    const char* field;  // key=value Pillow reports, or empty
    friend void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }
};

class WritesWhatTheOptionsSay : public testing::TestWithParam<WriteCase>
{};

TEST_P(WritesWhatTheOptionsSay, AsPillowReadsIt)
{
    const WriteCase& c = GetParam();
    const QString format = QString::fromLatin1(c.format);
    const QString field = QString::fromLatin1(c.field);
    const QSize size = c.size;
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(typeSelection(f));
    f.options.BitDepth = static_cast<ColorDepth>(c.depth);
    f.options.RleCompress = c.rle ? OptionTrue : OptionFalse;
    f.options.ColorMode = static_cast<std::int16_t>(c.colorMode);
    f.options.PngDetailed = c.detailed ? 1 : 0;
    const QString path = f.dir.filePath(QString::fromLatin1(c.fileName));
    saveAs(f, path, c.filter);
    EXPECT_TRUE(f.test.dialogs->messages.empty());
    const PillowImage image = decodeWithPillow(QFile::encodeName(path).toStdString());
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(QString::fromStdString(image.fields.at("format")), format);
    ASSERT_EQ(QSize(image.width, image.height), size);
    if (!field.isEmpty()) {
        const QStringList pair = field.split(u'=');
        EXPECT_EQ(QString::fromStdString(image.fields.at(pair[0].toStdString())), pair[1]);
    }
    // The pixel loop stops at its first wrong pixel: one message, not thousands.
    if (c.colorMode == 1 && c.depth == 0 && format != u"JPEG") {
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(image.rgb[static_cast<std::size_t>(y * size.width() + x)],
                          PatternPixel(100 + x, 50 + y) & 0xFFFFFFu)
                    << x << ',' << y;
    }
    EXPECT_TRUE(f.picture().isVisible() && f.panel().isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Save, WritesWhatTheOptionsSay,
    testing::Values(
        WriteCase{"BMP from the picture at 200 %", 1, "a.bmp", 0, false, 0, false, "BMP", QSize(120, 80), ""},
        WriteCase{"BMP from the copy, pixel for pixel", 1, "a.bmp", 0, false, 1, false, "BMP", QSize(60, 40), ""},
        WriteCase{"RLE at 8 bits", 1, "a.bmp", 2, true, 1, false, "BMP", QSize(60, 40), "info.compression=1"},
        WriteCase{"no RLE at 16 bits", 1, "a.bmp", 1, true, 1, false, "BMP", QSize(60, 40), "info.compression=0"},
        WriteCase{"JPEG", 2, "a.jpg", 2, true, 1, false, "JPEG", QSize(60, 40), ""},
        WriteCase{"PNG through the record", 3, "a.png", 0, false, 1, true, "PNG", QSize(60, 40), "info.gamma=0.45455"},
        WriteCase{"all files, by the extension", 4, "photo.old.png", 0, false, 0, false, "PNG", QSize(120, 80), ""}),
    PrintedCaseName());

// The typed corners, then whether the outline is cleared first.
struct RefusalCase {
    const char* name;
    const char* end;
    bool cleared;
    bool refused;
    friend void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }
};

class RefusesWhatIsNoSelection : public testing::TestWithParam<RefusalCase>
{};

TEST_P(RefusesWhatIsNoSelection, WithTheErrorMessage)
{
    const RefusalCase& c = GetParam();
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    const QStringList corner = QString::fromLatin1(c.end).split(u',');
    MouseDrag(f.desktop(), QPointF(500, 500), QPointF(520, 520));
    ASSERT_TRUE(f.type({{"sX", "10"}, {"sY", "10"}}));
    ASSERT_TRUE(TypeAndCommit(f.panel(), f.field("eX"), corner[0])
                && TypeAndCommit(f.panel(), f.field("eY"), corner[1]));
    if (c.cleared)
        QTest::mouseClick(PanelButton(f.panel(), "Command3"), Qt::LeftButton);
    QTest::mouseClick(PanelButton(f.panel(), "Command1"), Qt::LeftButton);
    EXPECT_EQ(saidError(f, NoSelectionText()), c.refused);
    EXPECT_EQ(f.test.dialogs->saveRequests.size(), std::size_t{c.refused ? 0u : 1u});
}

INSTANTIATE_TEST_SUITE_P(Save, RefusesWhatIsNoSelection,
                         testing::Values(RefusalCase{"hidden outline, large coordinates", "900,700", true, true},
                                         RefusalCase{"1 x 1", "11,11", false, true},
                                         RefusalCase{"1 x 2", "11,12", false, false},
                                         RefusalCase{"2 x 1", "12,11", false, false}),
                         PrintedCaseName());

struct FailedWriteCase {
    const char* name;
    const char* fileName;
    int filter;
    int grayStrength = 0;  // outside 0..255 the grey step fails
    friend void PrintTo(const FailedWriteCase& c, std::ostream* out) { *out << c.name; }
};

class FailedWrite : public testing::TestWithParam<FailedWriteCase>
{};

TEST_P(FailedWrite, IsReportedAndLeavesNothing)
{
    const FailedWriteCase& c = GetParam();
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(typeSelection(f));
    QFile plain(f.dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    f.options.GrayStrength = c.grayStrength;
    const QString path = f.dir.filePath(QString::fromLatin1(c.fileName));
    saveAs(f, path, c.filter);
    EXPECT_TRUE(saidError(f, path));
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"plain"});
}

INSTANTIATE_TEST_SUITE_P(Save, FailedWrite,
                         testing::Values(FailedWriteCase{"folder that is a file", "plain/a.png", 3},
                                         FailedWriteCase{"all files, unknown extension", "a.gif", 4},
                                         FailedWriteCase{"grey step that fails", "a.png", 3, 256}),
                         PrintedCaseName());

TEST(Save, NextDialogProposesTheNameWithoutExtension)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(typeSelection(f));
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("a.b")));
    saveAs(f, f.dir.filePath(QStringLiteral("a.b/photo.old.png")), 3);
    QTest::mouseClick(PanelButton(f.panel(), "Command1"), Qt::LeftButton);
    ASSERT_GE(f.test.dialogs->saveRequests.size(), std::size_t{2});
    const SaveFileRequest& next = f.test.dialogs->saveRequests.at(1);
    EXPECT_EQ(next.fileName, f.dir.filePath(QStringLiteral("a.b/photo.old")));
    EXPECT_EQ(next.filterIndex, 3);
    EXPECT_EQ(next.defaultExtension, QStringLiteral("png"));
    EXPECT_EQ(next.filter, SaveFilter());
    EXPECT_TRUE(next.confirmOverwrite);
}

enum class Selecting { Drag, TypedThenDrag, TypedThenSelectAll, Typed };

struct OutlineCase {
    const char* name;
    Selecting selecting;
    QRect saved;
    friend void PrintTo(const OutlineCase& c, std::ostream* out) { *out << c.name; }
};

class SavesTheSelectionTheOutlineShows : public testing::TestWithParam<OutlineCase>
{};

// What the outline shows is what the save writes, however it was made: a drag or
// Select all commits its corners, typed corners are committed by their fields.
TEST_P(SavesTheSelectionTheOutlineShows, HoweverItWasMade)
{
    const Selecting selecting = GetParam().selecting;
    const QRect saved = GetParam().saved;
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    if (selecting == Selecting::Drag)
        MouseDrag(f.desktop(), QPointF(400, 300), QPointF(100, 100));
    else
        ASSERT_TRUE(typeSelection(f));
    if (selecting == Selecting::TypedThenDrag)
        MouseDrag(f.desktop(), QPointF(200, 150), QPointF(260, 190));
    if (selecting == Selecting::TypedThenSelectAll)
        QTest::mouseClick(PanelButton(f.panel(), "Command9"), Qt::LeftButton);
    f.options.ColorMode = 1;
    const QString path = f.dir.filePath(QStringLiteral("a.png"));
    saveAs(f, path, 3);
    const PillowImage image = decodeWithPillow(QFile::encodeName(path).toStdString());
    ASSERT_EQ(QSize(image.width, image.height), saved.size());
    const DeviceContext& screen = f.model().screen();
    // The pixel loop stops at its first wrong pixel: one message, not thousands.
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x)
            ASSERT_EQ(image.rgb[static_cast<std::size_t>(y * saved.width() + x)],
                      screen.row(saved.y() + y)[saved.x() + x] & 0xFFFFFFu)
                << x << ',' << y;
}

INSTANTIATE_TEST_SUITE_P(
    Save, SavesTheSelectionTheOutlineShows,
    testing::Values(OutlineCase{"drag, then save at once", Selecting::Drag, QRect(100, 100, 300, 200)},
                    OutlineCase{"typed corners, then a drag", Selecting::TypedThenDrag, QRect(200, 150, 60, 40)},
                    OutlineCase{"select all", Selecting::TypedThenSelectAll, QRect(0, 0, 1024, 768)},
                    OutlineCase{"typed corners", Selecting::Typed, QRect(100, 50, 60, 40)}),
    PrintedCaseName());

struct CopyCase {
    const char* name;
    bool byKey;
    friend void PrintTo(const CopyCase& c, std::ostream* out) { *out << c.name; }
};

class CopyPutsThePictureOnTheClipboard : public testing::TestWithParam<CopyCase>
{};

TEST_P(CopyPutsThePictureOnTheClipboard, AsShown)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(f.type({{"Text2", "50"}}));
    MouseDrag(f.desktop(), QPointF(100, 100), QPointF(400, 300));
    if (GetParam().byKey)
        QTest::keyClick(&f.panel(), Qt::Key_C, Qt::ControlModifier);
    else
        QTest::mouseClick(PanelButton(f.panel(), "Command11"), Qt::LeftButton);
    const DeviceContext& copied = f.test.clipboard->image;
    ASSERT_EQ(QSize(copied.width(), copied.height()), QSize(150, 100));
    const DeviceContext& shown = f.model().picture();
    EXPECT_EQ(DifferingPixels(copied, [&shown](int x, int y) { return shown.row(y)[x]; }), 0);
}

INSTANTIATE_TEST_SUITE_P(Save, CopyPutsThePictureOnTheClipboard,
                         testing::Values(CopyCase{"the copy button", false},
                                         CopyCase{"Ctrl+C right after the drag", true}),
                         PrintedCaseName());

TEST(Save, CopyWithoutAPictureSaysSo)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QTest::mouseClick(PanelButton(f.panel(), "Command11"), Qt::LeftButton);
    EXPECT_TRUE(saidError(f, NoSelectionText()));
    EXPECT_EQ(f.test.clipboard->puts, 0);
}

// Other programs paste the copy as PNG and as BMP from the X11 clipboard, while this
// one runs.
TEST(Save, OtherProgramsPasteTheCopy)
{
    CaptureFixture f;
    f.test.platform.clipboard = std::make_unique<X11Clipboard>();
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(f.type({{"Text2", "50"}}));
    MouseDrag(f.desktop(), QPointF(100, 100), QPointF(400, 300));
    QTest::mouseClick(PanelButton(f.panel(), "Command11"), Qt::LeftButton);
    const DeviceContext& shown = f.model().picture();
    for (const char* type : {"image/png", "image/bmp"}) {
        const QString pasted = f.dir.filePath(QString::fromLatin1(type).replace(u'/', u'.'));
        QProcess xclip;
        xclip.setStandardOutputFile(pasted);
        xclip.start(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", type, "-o"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 5000)) << type;
        ASSERT_EQ(xclip.exitCode(), 0) << type;
        const PillowImage image = decodeWithPillow(QFile::encodeName(pasted).toStdString());
        ASSERT_TRUE(image.ok) << type;
        ASSERT_EQ(QSize(image.width, image.height), QSize(150, 100)) << type;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 150; ++x)
                ASSERT_EQ(image.rgb[static_cast<std::size_t>(y * 150 + x)], shown.row(y)[x] & 0xFFFFFFu)
                    << type << ' ' << x << ',' << y;
    }
}

}  // namespace
