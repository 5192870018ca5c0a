// The save and the clipboard copy as the user drives them: typed selection, options,
// the file-save dialog answered through the seam, files read back by Pillow.

#include "SaveTest.h"

#include "CaptureFixture.h"
#include "ImageOutput.h"
#include "ImagingTestSupport.h"
#include "formcom.h"
#include "gazou.h"
#include "platform/QtClipboard.h"
#include "scrimble.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>

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
    return messages.size() == 1 && messages[0].title == QString::fromUtf16(SaveErrorTitle)
           && messages[0].text.contains(containing);
}

}  // namespace

void SaveTest::writesWhatTheOptionsSay_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("rle");
    QTest::addColumn<int>("colorMode");
    QTest::addColumn<bool>("detailed");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("field");  // key=value Pillow reports, or empty
    QTest::newRow("BMP from the picture at 200 %") << 1 << "a.bmp" << 0 << false << 0 << false << "BMP" << QSize(120, 80) << "";
    QTest::newRow("BMP from the copy, pixel for pixel") << 1 << "a.bmp" << 0 << false << 1 << false << "BMP" << QSize(60, 40) << "";
    QTest::newRow("RLE at 8 bits") << 1 << "a.bmp" << 2 << true << 1 << false << "BMP" << QSize(60, 40) << "info.compression=1";
    QTest::newRow("no RLE at 16 bits") << 1 << "a.bmp" << 1 << true << 1 << false << "BMP" << QSize(60, 40) << "info.compression=0";
    QTest::newRow("JPEG") << 2 << "a.jpg" << 2 << true << 1 << false << "JPEG" << QSize(60, 40) << "";
    QTest::newRow("PNG through the record") << 3 << "a.png" << 0 << false << 1 << true << "PNG" << QSize(60, 40) << "info.gamma=0.45455";
    QTest::newRow("all files, by the extension") << 4 << "photo.old.png" << 0 << false << 0 << false << "PNG" << QSize(120, 80) << "";
}

void SaveTest::writesWhatTheOptionsSay()
{
    QFETCH(int, filter);
    QFETCH(QString, name);
    QFETCH(int, depth);
    QFETCH(bool, rle);
    QFETCH(int, colorMode);
    QFETCH(bool, detailed);
    QFETCH(QString, format);
    QFETCH(QSize, size);
    QFETCH(QString, field);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(typeSelection(f));
    f.options.BitDepth = static_cast<ColorDepth>(depth);
    f.options.RleCompress = rle ? OptionTrue : OptionFalse;
    f.options.ColorMode = static_cast<std::int16_t>(colorMode);
    f.options.PngDetailed = detailed ? 1 : 0;
    const QString path = f.dir.filePath(name);
    saveAs(f, path, filter);
    QVERIFY(f.test.dialogs->messages.empty());
    const PillowImage image = decodeWithPillow(QFile::encodeName(path).toStdString());
    QVERIFY(image.ok);
    QCOMPARE(QString::fromStdString(image.fields.at("format")), format);
    QCOMPARE(QSize(image.width, image.height), size);
    if (!field.isEmpty()) {
        const QStringList pair = field.split(u'=');
        QCOMPARE(QString::fromStdString(image.fields.at(pair[0].toStdString())), pair[1]);
    }
    if (colorMode == 1 && depth == 0 && format != u"JPEG")
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                QCOMPARE(image.rgb[static_cast<std::size_t>(y * size.width() + x)], PatternPixel(100 + x, 50 + y) & 0xFFFFFFu);
    QVERIFY(f.picture().isVisible() && f.panel().isVisible());
}

// The typed corners, then whether the outline is cleared first.
void SaveTest::refusesWhatIsNoSelection_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("refused");
    QTest::newRow("hidden outline, large coordinates") << "900,700" << true << true;
    QTest::newRow("1 x 1") << "11,11" << false << true;
    QTest::newRow("1 x 2") << "11,12" << false << false;
    QTest::newRow("2 x 1") << "12,11" << false << false;
}

void SaveTest::refusesWhatIsNoSelection()
{
    QFETCH(QString, end);
    QFETCH(bool, cleared);
    QFETCH(bool, refused);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    const QStringList corner = end.split(u',');
    MouseDrag(f.desktop(), QPointF(500, 500), QPointF(520, 520));
    QVERIFY(f.type({{"sX", "10"}, {"sY", "10"}}));
    QVERIFY(TypeAndCommit(f.panel(), f.field("eX"), corner[0]) && TypeAndCommit(f.panel(), f.field("eY"), corner[1]));
    if (cleared)
        QTest::mouseClick(PanelButton(f.panel(), "Command3"), Qt::LeftButton);
    QTest::mouseClick(PanelButton(f.panel(), "Command1"), Qt::LeftButton);
    QCOMPARE(saidError(f, QString::fromUtf16(NoSelectionText)), refused);
    QCOMPARE(f.test.dialogs->saveRequests.size(), std::size_t{refused ? 0u : 1u});
}

void SaveTest::failedWriteIsReportedAndLeavesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("filter");
    QTest::newRow("folder that is a file") << "plain/a.png" << 3;
    QTest::newRow("all files, unknown extension") << "a.gif" << 4;
}

void SaveTest::failedWriteIsReportedAndLeavesNothing()
{
    QFETCH(QString, name);
    QFETCH(int, filter);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(typeSelection(f));
    QFile plain(f.dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString path = f.dir.filePath(name);
    saveAs(f, path, filter);
    QVERIFY(saidError(f, path));
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"plain"});
}

void SaveTest::nextDialogProposesTheNameWithoutExtension()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(typeSelection(f));
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("a.b")));
    saveAs(f, f.dir.filePath(QStringLiteral("a.b/photo.old.png")), 3);
    QTest::mouseClick(PanelButton(f.panel(), "Command1"), Qt::LeftButton);
    const SaveFileRequest& next = f.test.dialogs->saveRequests.at(1);
    QCOMPARE(next.fileName, f.dir.filePath(QStringLiteral("a.b/photo.old")));
    QCOMPARE(next.filterIndex, 3);
    QCOMPARE(next.defaultExtension, QStringLiteral("png"));
    QCOMPARE(next.filter, SaveFilter());
    QVERIFY(next.confirmOverwrite);
}

enum class Selecting { Drag, TypedThenDrag, TypedThenSelectAll, Typed };

// What the outline shows is what the save writes, however it was made: a drag or
// Select all commits its corners, typed corners are committed by their fields.
void SaveTest::savesTheSelectionTheOutlineShows_data()
{
    QTest::addColumn<Selecting>("selecting");
    QTest::addColumn<QRect>("saved");
    QTest::newRow("drag, then save at once") << Selecting::Drag << QRect(100, 100, 300, 200);
    QTest::newRow("typed corners, then a drag") << Selecting::TypedThenDrag << QRect(200, 150, 60, 40);
    QTest::newRow("select all") << Selecting::TypedThenSelectAll << QRect(0, 0, 1024, 768);
    QTest::newRow("typed corners") << Selecting::Typed << QRect(100, 50, 60, 40);
}

void SaveTest::savesTheSelectionTheOutlineShows()
{
    QFETCH(Selecting, selecting);
    QFETCH(QRect, saved);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    if (selecting == Selecting::Drag)
        MouseDrag(f.desktop(), QPointF(400, 300), QPointF(100, 100));
    else
        QVERIFY(typeSelection(f));
    if (selecting == Selecting::TypedThenDrag)
        MouseDrag(f.desktop(), QPointF(200, 150), QPointF(260, 190));
    if (selecting == Selecting::TypedThenSelectAll)
        QTest::mouseClick(PanelButton(f.panel(), "Command9"), Qt::LeftButton);
    f.options.ColorMode = 1;
    const QString path = f.dir.filePath(QStringLiteral("a.png"));
    saveAs(f, path, 3);
    const PillowImage image = decodeWithPillow(QFile::encodeName(path).toStdString());
    QCOMPARE(QSize(image.width, image.height), saved.size());
    const DeviceContext& screen = f.desktop().surface();
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x)
            QCOMPARE(image.rgb[static_cast<std::size_t>(y * saved.width() + x)],
                     screen.row(saved.y() + y)[saved.x() + x] & 0xFFFFFFu);
}

void SaveTest::copyPutsThePictureOnTheClipboard_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("the copy button") << false;
    QTest::newRow("Ctrl+C right after the drag") << true;
}

void SaveTest::copyPutsThePictureOnTheClipboard()
{
    QFETCH(bool, byKey);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(f.type({{"Text2", "50"}}));
    MouseDrag(f.desktop(), QPointF(100, 100), QPointF(400, 300));
    if (byKey)
        QTest::keyClick(&f.panel(), Qt::Key_C, Qt::ControlModifier);
    else
        QTest::mouseClick(PanelButton(f.panel(), "Command11"), Qt::LeftButton);
    const DeviceContext& copied = f.test.clipboard->image;
    QCOMPARE(QSize(copied.width(), copied.height()), QSize(150, 100));
    const DeviceContext& shown = f.picture().surface();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 150; ++x)
            QCOMPARE(copied.row(y)[x] & 0xFFFFFFu, shown.row(y)[x] & 0xFFFFFFu);
}

void SaveTest::copyWithoutAPictureSaysSo()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QTest::mouseClick(PanelButton(f.panel(), "Command11"), Qt::LeftButton);
    QVERIFY(saidError(f, QString::fromUtf16(NoSelectionText)));
    QCOMPARE(f.test.clipboard->puts, 0);
}

// Other programs paste the copy as PNG and as BMP from the X11 clipboard, while this
// one runs.
void SaveTest::otherProgramsPasteTheCopy()
{
    CaptureFixture f;
    f.test.platform.clipboard = std::make_unique<QtClipboard>();
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(f.type({{"Text2", "50"}}));
    MouseDrag(f.desktop(), QPointF(100, 100), QPointF(400, 300));
    QTest::mouseClick(PanelButton(f.panel(), "Command11"), Qt::LeftButton);
    const DeviceContext& shown = f.picture().surface();
    for (const char* type : {"image/png", "image/bmp"}) {
        const QString pasted = f.dir.filePath(QString::fromLatin1(type).replace(u'/', u'.'));
        QProcess xclip;
        xclip.setStandardOutputFile(pasted);
        xclip.start(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", type, "-o"});
        QTRY_COMPARE(xclip.state(), QProcess::NotRunning);
        QCOMPARE(xclip.exitCode(), 0);
        const PillowImage image = decodeWithPillow(QFile::encodeName(pasted).toStdString());
        QVERIFY2(image.ok, type);
        QCOMPARE(QSize(image.width, image.height), QSize(150, 100));
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 150; ++x)
                QCOMPARE(image.rgb[static_cast<std::size_t>(y * 150 + x)], shown.row(y)[x] & 0xFFFFFFu);
    }
}
