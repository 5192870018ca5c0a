// The auto-save mode on the real X11 clipboard: xclip copies as another program
// would, the files are read by Pillow, and the window's rules are driven by typing.
#include "AutoSaveFixture.h"

#include "BmpVariants.h"
#include "CaseName.h"
#include "ImagingTestSupport.h"
#include "TestFiles.h"
#include "X11Desktop.h"
#include "Xclip.h"
#include "platform/X11PrintKey.h"
#include "shared/ImageFiles.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

namespace {

struct LoadCase {
    const char* name;
    QByteArray settings;  // Set.ini before the window opens
    const char* pattern;
    const char* maximum;
    int messages;
};

class AutoSaveLoad : public testing::TestWithParam<LoadCase>
{};

TEST_P(AutoSaveLoad, ShowsTheStoredPatternNormalised)
{
    const LoadCase& c = GetParam();
    AutoSaveFixture f;
    if (!c.settings.isEmpty()) {
        ASSERT_TRUE(writeTestFile(f.settingsPath(), c.settings));
    }
    f.open();
    EXPECT_EQ(f.field("Text1")->text(), f.folder());
    EXPECT_EQ(f.field("Text2")->text(), QString::fromUtf8(c.pattern));
    EXPECT_EQ(f.field("Text4")->text(), QString::fromUtf8(c.maximum));
    EXPECT_EQ(f.field("Text3")->text(), QStringLiteral("0"));
    EXPECT_EQ(f.test.dialogs->messages.size(), static_cast<std::size_t>(c.messages));
    EXPECT_TRUE(f.control<QAbstractButton>("Option1", 0)->isChecked());
    EXPECT_TRUE(f.control<QAbstractButton>("Option2", 0)->isChecked());
    EXPECT_TRUE(f.control<QGroupBox>("Frame2", 0)->isEnabled());
    EXPECT_FALSE(f.control<QGroupBox>("Frame2", 1)->isEnabled());
    EXPECT_FALSE(f.control<QGroupBox>("Frame2", 2)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, AutoSaveLoad,
    testing::Values(LoadCase{"NoSettingsFile", {}, "Picture_####", "9999", 0},
                    LoadCase{"PatternWithoutRun", "[PrintScSave]\nFilePath=abc\n", "abc_####", "9999", 0},
                    LoadCase{"BrokenRunSaysSoAndGoesOn", "[PrintScSave]\nFilePath=Pic##a##\n", "Pic##a##", "", 1}),
    OwnCaseName());

struct FieldCase {
    const char* name;
    int format;           // chosen first: the field's frame is enabled
    const char* pattern;  // typed next, then the field left
    const char* field;
    const char* typed;
    const char* shown;
};

class AutoSaveFields : public testing::TestWithParam<FieldCase>
{};

TEST_P(AutoSaveFields, HoldTheirBounds)
{
    const FieldCase& c = GetParam();
    AutoSaveFixture f;
    f.open();
    f.click(f.control<QAbstractButton>("Option1", c.format));
    f.type("Text2", QString::fromUtf8(c.pattern));
    f.field("Text7")->setFocus();
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return !f.field("Text2")->hasFocus(); }));
    f.type(c.field, QString::fromUtf8(c.typed));
    EXPECT_EQ(f.field(c.field)->text(), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Typing, AutoSaveFields,
                         testing::Values(FieldCase{"QualityAbove", 1, "Picture_####", "Text5", "120", "100"},
                                         FieldCase{"QualityZero", 1, "Picture_####", "Text5", "0", "1"},
                                         FieldCase{"LevelAbove", 2, "Picture_####", "Text6", "12", "9"},
                                         FieldCase{"IntervalAbove", 0, "Picture_####", "Text7", "40000", "30000"},
                                         FieldCase{"SerialAboveTwoDigits", 0, "Picture_##", "Text3", "150", "99"}),
                         OwnCaseName());

// The serial's up/down arrows stop at the largest number the pattern's run holds.
TEST(AutoSaveWindow, SerialArrowsStopAtThePatternsMaximum)
{
    AutoSaveFixture f;
    f.open();
    f.type("Text2", QStringLiteral("Picture_##"));
    f.type("Text3", QStringLiteral("98"));
    auto* arrows = f.window().findChild<QWidget*>(QStringLiteral("UpDown1"));
    ASSERT_NE(arrows, nullptr);
    const QList<QAbstractButton*> upAndDown = arrows->findChildren<QAbstractButton*>();
    ASSERT_EQ(upAndDown.size(), 2);
    f.click(upAndDown[0]);
    f.click(upAndDown[0]);
    EXPECT_EQ(f.field("Text3")->text(), QStringLiteral("99"));
    f.click(upAndDown[1]);
    EXPECT_EQ(f.field("Text3")->text(), QStringLiteral("98"));
}

TEST(AutoSaveWindow, PngChoiceEnablesOnlyThePngSettings)
{
    AutoSaveFixture f;
    f.open();
    f.click(f.control<QAbstractButton>("Option1", 2));
    EXPECT_FALSE(f.control<QGroupBox>("Frame2", 0)->isEnabled());
    EXPECT_FALSE(f.control<QGroupBox>("Frame2", 1)->isEnabled());
    EXPECT_TRUE(f.control<QLabel>("Label12")->isEnabled());
}

// Start: the image already there is cleared, not saved; then every copy is saved at
// once, pixel for pixel; a text is left alone.
TEST(AutoSaveWatch, SavesEveryImageCopiedAfterTheStart)
{
    AutoSaveFixture f;
    f.open();
    Xclip::copyImage(AutoSaveFixture::picture(99));
    f.start(MessageAnswer::Yes);
    ASSERT_EQ(f.test.dialogs->messages.size(), 1u);
    EXPECT_EQ(f.test.dialogs->messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.mode().watchTimer().interval(), 50);
    for (int i = 0; i < 5; ++i) {
        Xclip::copyImage(AutoSaveFixture::picture(i));
        ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == static_cast<qsizetype>(i + 1); }))
            << "copy " << i;
    }
    const QStringList expected = {QStringLiteral("Picture_0000.bmp"), QStringLiteral("Picture_0001.bmp"),
                                  QStringLiteral("Picture_0002.bmp"), QStringLiteral("Picture_0003.bmp"),
                                  QStringLiteral("Picture_0004.bmp")};
    ASSERT_EQ(f.files(), expected);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + u'/' + expected[i], AutoSaveFixture::picture(i))) << i;
    EXPECT_TRUE(AutoSaveFixture::waitFor([&] { return f.field("Text3")->text() == QStringLiteral("5"); }));

    Xclip::copyText(QStringLiteral("just text"));
    QTest::qWait(300);
    EXPECT_EQ(f.files().size(), 5);
    EXPECT_EQ(Xclip::text(), QStringLiteral("just text"));
}

TEST(AutoSaveWatch, AnsweringNoChangesNothing)
{
    AutoSaveFixture f;
    f.open();
    Xclip::copyText(QStringLiteral("kept"));
    f.start(MessageAnswer::No);
    EXPECT_EQ(f.mode().watchTimer().interval(), 0);
    EXPECT_TRUE(f.control<QAbstractButton>("Command3")->isEnabled());
    EXPECT_EQ(Xclip::text(), QStringLiteral("kept"));
}

TEST(AutoSaveWatch, TwoCopiesInOneIntervalSaveOnlyTheSecond)
{
    AutoSaveFixture f;
    f.open();
    f.start(MessageAnswer::Yes, 1500);
    QTest::qWait(100);
    Xclip::copyImage(AutoSaveFixture::picture(1));
    Xclip::copyImage(AutoSaveFixture::picture(2));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return !f.files().isEmpty(); }));
    QTest::qWait(1700);
    ASSERT_EQ(f.files(), QStringList{QStringLiteral("Picture_0000.bmp")});
    EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_0000.bmp"), AutoSaveFixture::picture(2)));
}

// The looks go on while the window is busy (here it serves no event at all): each
// copy that was on the clipboard at a look is saved, in order, once it answers again.
TEST(AutoSaveWatch, CopiesMadeWhileTheWindowIsBusyAreAllSaved)
{
    AutoSaveFixture f;
    f.open();
    f.start(MessageAnswer::Yes, 100);
    const std::array seeds{11, 12, 13};
    for (const int seed : seeds) {
        Xclip::copyImage(AutoSaveFixture::picture(seed));
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 3; })) << f.files().size() << " files";
    for (std::size_t i = 0; i < seeds.size(); ++i)
        EXPECT_TRUE(
            AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_%1.bmp").arg(i, 4, 10, QLatin1Char('0')),
                                   AutoSaveFixture::picture(seeds[i])))
            << i;
}

// Stop, PNG, start again: the serial number goes on and the new files are PNG.
TEST(AutoSaveWatch, SecondWatchContinuesTheSerialInTheNewFormat)
{
    AutoSaveFixture f;
    f.open();
    f.start(MessageAnswer::Yes);
    Xclip::copyImage(AutoSaveFixture::picture(3));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 1; }));
    f.stop();
    f.click(f.control<QAbstractButton>("Option1", 2));
    f.start(MessageAnswer::Yes);
    Xclip::copyImage(AutoSaveFixture::picture(4));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 2; }));
    EXPECT_EQ(f.files().last(), QStringLiteral("Picture_0001.png"));
    EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_0001.png"), AutoSaveFixture::picture(4)));
}

// A folder that cannot be written ends the watch: the image stays on the clipboard,
// the number stays, and the message names the file.
TEST(AutoSaveWatch, FailedWriteStopsTheWatchAndKeepsTheImage)
{
    AutoSaveFixture f;
    ASSERT_TRUE(writeTestFile(f.settingsPath(), "[PrtScSave]\nFolderPath=" + f.folder().toUtf8() + "/missing\n"));
    f.open();
    f.start(MessageAnswer::Yes);
    Xclip::copyImage(AutoSaveFixture::picture(5));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.test.dialogs->messages.size() == 2; }));
    const RecordedMessage& message = f.test.dialogs->messages[1];
    EXPECT_EQ(message.title, SaveErrorTitle());
    EXPECT_TRUE(message.text.contains(f.folder() + QStringLiteral("/missing/Picture_0000.bmp")))
        << message.text.toStdString();
    EXPECT_EQ(f.mode().watchTimer().interval(), 0);
    EXPECT_TRUE(f.control<QAbstractButton>("Command3")->isEnabled());
    EXPECT_EQ(f.field("Text3")->text(), QStringLiteral("0"));
    EXPECT_TRUE(Xclip::targets().contains(QStringLiteral("image/png")));
}

// While watching the window stays and its menu is locked; after stop it closes and
// stores folder and pattern.
TEST(AutoSaveWindow, CloseRefusedWhileWatching)
{
    AutoSaveFixture f;
    f.open();
    f.type("Text2", QStringLiteral("Shot_###"));
    f.start(MessageAnswer::Yes);
    EXPECT_FALSE(f.control<QMenu>("Fil")->menuAction()->isEnabled());
    EXPECT_FALSE(f.window().close());
    EXPECT_TRUE(f.window().isVisible());
    EXPECT_FALSE(QFile::exists(f.settingsPath()));
    EXPECT_EQ(f.host.endRequests, 0);
    f.stop();
    EXPECT_TRUE(f.window().close());
    EXPECT_EQ(f.host.endRequests, 1) << "the program ends with its only window";
    const Settings stored(f.settingsPath());
    EXPECT_EQ(stored.readText(QStringLiteral("PrtScSave"), QStringLiteral("FolderPath"), {}), f.folder());
    EXPECT_EQ(stored.readText(QStringLiteral("PrintScSave"), QStringLiteral("FilePath"), {}),
              QStringLiteral("Shot_###"));
}

TEST(AutoSaveWindow, BackToTheChooserStoresBooleanZero)
{
    AutoSaveFixture f;
    ASSERT_TRUE(writeTestFile(f.settingsPath(), "[Start]\nBoolean=1\nMode=0\n"));
    f.open();
    f.control<QMenu>("Fil")->actions().at(1)->trigger();
    EXPECT_EQ(f.host.chooserRequests, 1);
    EXPECT_EQ(f.host.endRequests, 0);
    EXPECT_TRUE(readTestFile(f.settingsPath()).value_or(QByteArray()).contains("Boolean=0"));
}

// The real Print key, over a screen of one colour (0x204060) of 200 x 120.
void takePrintKeyOverAPlainScreen(AutoSaveFixture& f)
{
    f.test.platform.printKey = std::make_unique<X11PrintKey>();
    f.test.screen->screen.resize(200, 120);
    f.test.screen->screen.fill(0xFF204060u);
}

// During a watch the Print key copies the whole screen to the clipboard, and the watch
// saves it; where another program holds the key, the window says so and watches on.
TEST(AutoSaveWatch, PrintKeySavesTheScreen)
{
    AutoSaveFixture f;
    takePrintKeyOverAPlainScreen(f);
    f.open();
    f.start(MessageAnswer::Yes);
    ASSERT_TRUE(X11Desktop::key("Print"));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 1; }));
    EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_0000.bmp"), [] {
        QImage screen(200, 120, QImage::Format_RGB32);
        screen.fill(qRgb(0x20, 0x40, 0x60));
        return screen;
    }()));
    f.stop();
    ASSERT_TRUE(X11Desktop::key("Print"));
    QTest::qWait(200);
    EXPECT_EQ(f.files().size(), 1) << "the key is given back with the stop";
}

TEST(AutoSaveWatch, PrintKeyHeldElsewhereIsSaidAndTheWatchGoesOn)
{
    AutoSaveFixture f;
    f.test.platform.printKey = std::make_unique<X11PrintKey>();
    const X11Desktop::KeyboardTakenElsewhere desktop;
    ASSERT_TRUE(desktop.held());
    f.open();
    f.start(MessageAnswer::Yes);
    EXPECT_TRUE(f.control<QLabel>("note")->isVisible());
    EXPECT_NE(f.control<QLabel>("note")->text(), QString());
    Xclip::copyImage(AutoSaveFixture::picture(6));
    EXPECT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 1; }));
}

// A clipboard manager putting the image just saved back right after the clearing
// makes no second file; the same picture copied again 3 s after the first copy, and
// two Print presses on an unchanged screen, make one each.
TEST(AutoSaveWatch, RestoredImageIsNotSavedAgainButACopyLaterAndEachPrintPressAre)
{
    AutoSaveFixture f;
    takePrintKeyOverAPlainScreen(f);
    f.open();
    f.start(MessageAnswer::Yes);
    QElapsedTimer sinceFirstCopy;
    sinceFirstCopy.start();
    Xclip::copyImage(AutoSaveFixture::picture(7));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 1; }));
    ASSERT_TRUE(AutoSaveFixture::waitFor([] { return !Xclip::targets().contains(QStringLiteral("image/png")); }));
    QElapsedTimer sinceClear;
    sinceClear.start();
    Xclip::copyImage(AutoSaveFixture::picture(7));
    EXPECT_LT(sinceClear.elapsed(), 200) << "the restore came too late to test it";
    QTest::qWait(500);
    EXPECT_EQ(f.files().size(), 1);
    QTest::qWait(static_cast<int>(std::max<qint64>(0, 3000 - sinceFirstCopy.elapsed())));
    Xclip::copyImage(AutoSaveFixture::picture(7));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 2; }));
    ASSERT_TRUE(AutoSaveFixture::waitFor([] { return !Xclip::targets().contains(QStringLiteral("image/png")); }));
    for (int press = 1; press <= 2; ++press) {
        ASSERT_TRUE(X11Desktop::key("Print"));
        ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 2 + press; })) << "press " << press;
    }
}

struct CopyTypeCase {
    const char* name;
    const char* type;  // the only type xclip offers
    std::function<QByteArray(const QImage&)> bytes;
    int tolerance;  // per channel, against Pillow's pixels of the same bytes
};

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes;
}

// A 32-bit BI_RGB BMP, what Windows programs (and so Wine's) hand over.
QByteArray bmp32(const QImage& image)
{
    BmpVariant variant;
    variant.bits = 32;
    variant.filler = 0xFF;
    const BmpPicture picture{image.width(),
                             image.height(),
                             [&image](int x, int y) { return static_cast<std::uint32_t>(image.pixel(x, y)); },
                             {},
                             {}};
    const std::vector<std::uint8_t> bytes = bmpOf(variant, picture);
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

// Black lines and a red square on a transparent background, as a web page's diagram.
QImage transparentDiagram()
{
    QImage image(120, 80, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 40, qRgba(0, 0, 0, 255));
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x)
            image.setPixel(x, y, qRgba(220, 0, 0, 255));
    return image;
}

class AutoSaveCopyType : public testing::TestWithParam<CopyTypeCase>
{};

// Another program offering its copy in only one type: the file holds its pixels, a
// transparent background white.
TEST_P(AutoSaveCopyType, IsSavedAndReadRight)
{
    const CopyTypeCase& c = GetParam();
    AutoSaveFixture f;
    f.open();
    f.start(MessageAnswer::Yes);
    const QImage image =
        QString::fromLatin1(c.name).contains(u"Transparent") ? transparentDiagram() : AutoSaveFixture::picture(30);
    const QByteArray bytes = c.bytes(image);
    Xclip::copyAs(QString::fromLatin1(c.type), bytes);
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 1; }));
    QFile copied(f.folder() + QStringLiteral("/copied"));
    ASSERT_TRUE(copied.open(QIODevice::WriteOnly));
    copied.write(bytes);
    copied.close();
    const PillowImage saved = decodeWithPillow((f.folder() + QStringLiteral("/Picture_0000.bmp")).toStdString());
    const PillowImage original = decodeWithPillow(copied.fileName().toStdString());
    ASSERT_EQ(saved.rgb.size(), static_cast<std::size_t>(image.width() * image.height()));
    ASSERT_EQ(original.rgb.size(), saved.rgb.size());
    int worst = 0;
    for (std::size_t i = 0; i < saved.rgb.size(); ++i) {
        const QRgb pixel = image.pixel(static_cast<int>(i) % image.width(), static_cast<int>(i) / image.width());
        const std::uint32_t expected = qAlpha(pixel) == 0 ? 0xFFFFFFu : original.rgb[i];
        for (int shift = 0; shift < 24; shift += 8)
            worst = std::max(worst, std::abs(static_cast<int>((saved.rgb[i] >> shift) & 0xFF)
                                             - static_cast<int>((expected >> shift) & 0xFF)));
    }
    EXPECT_LE(worst, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Copies, AutoSaveCopyType,
                         testing::Values(CopyTypeCase{"JpegOnly", "image/jpeg",
                                                      [](const QImage& i) { return encoded(i, "JPG"); }, 2},
                                         CopyTypeCase{"Bmp32Only", "image/bmp", bmp32, 0},
                                         CopyTypeCase{"TransparentPngOnly", "image/png",
                                                      [](const QImage& i) { return encoded(i, "PNG"); }, 0}),
                         OwnCaseName());

struct OwnerCase {
    const char* name;
    int targets;  // 0: never answers
};

class AutoSaveStubbornOwner : public testing::TestWithParam<OwnerCase>
{};

// A program that owns the clipboard and never answers, or offers five thousand types:
// the window answers at once throughout, Stop works, and the next good copy is saved.
TEST_P(AutoSaveStubbornOwner, LeavesTheWindowAnswering)
{
    AutoSaveFixture f;
    f.open();
    f.start(MessageAnswer::Yes);
    qint64 longestStall = 0;
    {
        const X11Desktop::StubbornClipboardOwner owner(GetParam().targets);
        QElapsedTimer sinceLast;
        QTimer ping;
        QObject::connect(&ping, &QTimer::timeout, [&] { longestStall = std::max(longestStall, sinceLast.restart()); });
        sinceLast.start();
        ping.start(10);
        QTest::qWait(1000);
        f.stop();
        EXPECT_TRUE(f.control<QAbstractButton>("Command3")->isEnabled()) << "Stop was not handled";
        QTest::qWait(300);
        f.start(MessageAnswer::Yes);
        QTest::qWait(2500);
    }
    // A wait on the owner would last the read's deadline (3 s); on a loaded machine the
    // scheduler alone leaves the event loop unserved past 100 ms.
    EXPECT_LT(longestStall, 500);
    Xclip::copyImage(AutoSaveFixture::picture(8));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 1; }));
    EXPECT_TRUE(AutoSaveFixture::holds(f.folder() + QStringLiteral("/Picture_0000.bmp"), AutoSaveFixture::picture(8)));
}

INSTANTIATE_TEST_SUITE_P(Owners, AutoSaveStubbornOwner,
                         testing::Values(OwnerCase{"NeverAnswers", 0}, OwnerCase{"FiveThousandTypes", 5000}),
                         OwnCaseName());

// The most memory the process has held, in MiB.
double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// Bytes that claim gigabytes are refused with a line in the window, without the
// memory they claim; the watch goes on, and a large valid copy is saved.
TEST(AutoSaveWatch, HostileCopiesAreRefusedAndALargeOneIsSaved)
{
    AutoSaveFixture f;
    f.open();
    f.click(f.control<QAbstractButton>("Option1", 2));
    f.start(MessageAnswer::Yes);
    auto* note = f.control<QLabel>("note");
    for (const auto& hostile : {pngWithHugeTextChunk(), blackOneBitPng(30000)}) {
        note->clear();
        Xclip::copyPng(
            QByteArray(reinterpret_cast<const char*>(hostile.data()), static_cast<qsizetype>(hostile.size())));
        EXPECT_TRUE(AutoSaveFixture::waitFor([&] { return !note->text().isEmpty(); }));
    }
    EXPECT_TRUE(f.files().isEmpty());
    EXPECT_LT(peakMemoryMiB(), 200);
    const std::vector<std::uint8_t> large = blackOneBitPng(8000);
    Xclip::copyPng(QByteArray(reinterpret_cast<const char*>(large.data()), static_cast<qsizetype>(large.size())));
    ASSERT_TRUE(AutoSaveFixture::waitFor([&] { return f.files().size() == 1; }, 20000));
    const PillowImage saved = decodeWithPillow((f.folder() + QStringLiteral("/Picture_0000.png")).toStdString());
    EXPECT_EQ(saved.width, 8000);
    EXPECT_EQ(saved.height, 8000);
}

}  // namespace
