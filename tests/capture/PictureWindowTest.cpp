// What the picture window shows after a selection on a fake screen of known pixels.

#include "PictureWindowTest.h"

#include "CaptureFixture.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

namespace {

QSet<std::uint32_t> coloursOf(const DeviceContext& surface)
{
    QSet<std::uint32_t> colours;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            colours.insert(surface.row(y)[x] & 0xFFFFFFu);
    return colours;
}

bool allGrey(const DeviceContext& surface)
{
    for (std::uint32_t colour : coloursOf(surface)) {
        const std::uint32_t red = colour >> 16 & 0xFF;
        if ((colour >> 8 & 0xFF) != red || (colour & 0xFF) != red)
            return false;
    }
    return true;
}

}  // namespace

// At 100 % and 24 bits the picture is the selected rectangle of the frozen screen,
// pixel for pixel, both in the window's surface and on the X screen.
void PictureWindowTest::exactPixelsAt24Bits()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    MouseDrag(f.desktop(), QPointF(37, 41), QPointF(237, 141));
    const DeviceContext& shown = f.picture().surface();
    QCOMPARE(QSize(shown.width(), shown.height()), QSize(200, 100));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            QCOMPARE(shown.row(y)[x] & 0xFFFFFFu, PatternPixel(37 + x, 41 + y) & 0xFFFFFFu);

    QVERIFY(QTest::qWaitForWindowExposed(&f.picture()));
    const QPoint origin = f.picture().mapToGlobal(QPoint(0, 0));
    QImage onScreen;
    QTRY_VERIFY_WITH_TIMEOUT(
        (onScreen = QGuiApplication::primaryScreen()->grabWindow(0, origin.x(), origin.y(), 200, 100).toImage(),
         onScreen.pixel(199, 99) == (PatternPixel(236, 140) | 0xFF000000u)),
        5000);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            QCOMPARE(onScreen.pixel(x, y) & 0xFFFFFFu, PatternPixel(37 + x, 41 + y) & 0xFFFFFFu);
}

// Clear hides the picture window with its picture; F3 shows it again unchanged.
void PictureWindowTest::keepsPictureWhileHidden()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    MouseDrag(f.desktop(), QPointF(37, 41), QPointF(237, 141));
    QTest::mouseClick(PanelButton(f.panel(), "Command3"), Qt::LeftButton);
    QVERIFY(!f.picture().isVisible());
    QTest::keyClick(&f.panel(), Qt::Key_F3);
    QVERIFY(f.picture().isVisible());
    QCOMPARE(f.picture().size(), QSize(200, 100));
    const DeviceContext& shown = f.picture().surface();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            QCOMPARE(shown.row(y)[x] & 0xFFFFFFu, PatternPixel(37 + x, 41 + y) & 0xFFFFFFu);
}

void PictureWindowTest::eightBitsAtMost256Colours()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.options.BitDepth = ColorDepth::Bits8;
    MouseDrag(f.desktop(), QPointF(0, 0), QPointF(400, 300));
    const qsizetype colours = coloursOf(f.picture().surface()).size();
    QVERIFY2(colours <= 256, qPrintable(QString::number(colours)));
    QVERIFY(colours > 16);
}

// The grey step belongs to Update: the release shows colour, Update of the same
// rectangle shows grey.
void PictureWindowTest::greyAfterUpdateOnly()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.options.GrayStrength = 255;
    MouseDrag(f.desktop(), QPointF(100, 100), QPointF(300, 200));
    QVERIFY(!allGrey(f.picture().surface()));
    for (const char* name : {"sX", "sY", "eX", "eY"})
        QVERIFY(TypeAndCommit(f.panel(), f.field(name), f.field(name).text()));
    QTest::mouseClick(PanelButton(f.panel(), "Command4"), Qt::LeftButton);
    QCOMPARE(f.picture().size(), QSize(200, 100));
    QVERIFY(allGrey(f.picture().surface()));
}

void PictureWindowTest::magnifiedClientArea_data()
{
    QTest::addColumn<QString>("magnification");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QSize>("client");
    QTest::newRow("150 %") << QStringLiteral("150") << QPointF(200, 100) << QSize(300, 150);
    QTest::newRow("101 px at 50 % rounds to even") << QStringLiteral("50") << QPointF(101, 101) << QSize(50, 50);
    QTest::newRow("200 %") << QStringLiteral("200") << QPointF(30, 20) << QSize(60, 40);
}

void PictureWindowTest::magnifiedClientArea()
{
    QFETCH(QString, magnification);
    QFETCH(QPointF, to);
    QFETCH(QSize, client);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(TypeAndCommit(f.panel(), f.field("Text2"), magnification));
    MouseDrag(f.desktop(), QPointF(0, 0), to);
    QCOMPARE(f.picture().size(), client);
    QCOMPARE(QSize(f.picture().surface().width(), f.picture().surface().height()), client);
    QCOMPARE(QSize(f.mode->selection().ViewWidth, f.mode->selection().ViewHeight), client);
}
