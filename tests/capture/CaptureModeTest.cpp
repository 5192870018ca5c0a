// The mode's start, its refusal as a second instance, and the way back to the chooser.

#include "CaptureModeTest.h"

#include "CaptureFixture.h"
#include "X11Desktop.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

bool anyWindowVisible()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            return true;
    return false;
}

}  // namespace

void CaptureModeTest::loadShowsFrozenScreen()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    scrimble& desktop = f.desktop();
    QVERIFY(desktop.isVisible());
    QCOMPARE(desktop.geometry(), QRect(0, 0, 1024, 768));
    QVERIFY(desktop.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(f.panel().isVisible());
    QVERIFY(!f.picture().isVisible());
    QCOMPARE(f.picture().size(), QSize(0, 0));
    QCOMPARE(f.picture().windowTitle(), QStringLiteral("取得画像"));
    QCOMPARE(f.mode->selection().Magnification, std::int16_t{100});
    QCOMPARE(f.mode->selection().ScreenWidth, 1024);
    for (const char* name : {"sX", "sY", "eX", "eY", "Text1"})
        QCOMPARE(f.field(name).text(), QStringLiteral("0"));
    QCOMPARE(f.field("Text2").text(), QStringLiteral("100"));
    QCOMPARE(desktop.surface().stretchMode, HALFTONE);
    QCOMPARE(f.picture().surface().stretchMode, HALFTONE);
    for (const QPoint p : {QPoint(0, 0), QPoint(1023, 767), QPoint(512, 300)})
        QCOMPARE(desktop.surface().row(p.y())[p.x()], PatternPixel(p.x(), p.y()));
    QVERIFY(!desktop.editor().shape().visible);
    QVERIFY(!desktop.handlesVisible());
}

// The X server's stacking decides which window is under a point: the panel must stay
// above the desktop copy however the copy comes to the front, also without a window
// manager to keep it topmost.
void CaptureModeTest::panelStaysAboveDesktop()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.panel().move(300, 200);
    const QPoint centre = f.panel().geometry().center();
    const auto panelOnTop = [&] {
        QWidget* under = QApplication::widgetAt(centre);
        return under && under->window() == &f.panel();
    };
    QTRY_VERIFY(panelOnTop());
    QTest::keyClick(&f.panel(), Qt::Key_F1);
    QTRY_VERIFY(panelOnTop());
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(40, 40));
    QTest::keyClick(&f.picture(), Qt::Key_F1);
    QTRY_VERIFY(panelOnTop());
}

// Without a window manager nobody moves the keyboard focus on a click; the windows
// take it themselves, so function keys and typed coordinates reach them.
void CaptureModeTest::clickGivesKeyboardFocus()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QTRY_VERIFY(f.panel().isActiveWindow());
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(40, 40));
    QTRY_VERIFY(f.desktop().isActiveWindow());
    f.panel().hide();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    QVERIFY(f.panel().isVisible());
    QTRY_VERIFY(f.panel().isActiveWindow());
    QLineEdit& sX = f.field("sX");
    QTest::mouseClick(&sX, Qt::LeftButton);
    QTRY_VERIFY(sX.hasFocus());
    MousePress(f.picture(), QPointF(5, 5));
    QTRY_VERIFY(f.picture().isActiveWindow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QTRY_VERIFY(f.desktop().isActiveWindow());
}

void CaptureModeTest::secondInstanceEndsSilently()
{
    CaptureFixture f;
    f.test.lock->first = false;
    QCOMPARE(f.load(), ModeOpenResult::ProgramEnding);
    QVERIFY(!anyWindowVisible());
    QCOMPARE(f.test.screen->grabCount, 0);
    QVERIFY(f.test.dialogs->messages.empty());
    QVERIFY(QDir(f.dir.path()).isEmpty());
}

// A lock that could not be used safely is no second instance: the user is told, and
// the mode does not open.
void CaptureModeTest::unusableLockIsReported()
{
    CaptureFixture f;
    f.test.lock->first = false;
    f.test.lock->problemText = QStringLiteral("The instance lock cannot be used.");
    QCOMPARE(f.load(), ModeOpenResult::NotOpened);
    QVERIFY(!anyWindowVisible());
    QCOMPARE(f.test.dialogs->messages.size(), std::size_t{1});
    QCOMPARE(f.test.dialogs->messages[0].text, f.test.lock->problemText);
}

void CaptureModeTest::unreadableScreenIsReported()
{
    CaptureFixture f;
    const QString why = QStringLiteral("The screen cannot be read on this session.");
    f.test.screen->failWith(why);
    QCOMPARE(f.load(), ModeOpenResult::NotOpened);
    QVERIFY(!anyWindowVisible());
    QCOMPARE(f.test.dialogs->messages.size(), std::size_t{1});
    QCOMPARE(f.test.dialogs->messages[0].text, why);
    QCOMPARE(f.test.dialogs->messages[0].title, QStringLiteral("Scrimble Ver3.1.0"));
}

void CaptureModeTest::returnToChooser()
{
    CaptureFixture f;
    f.settings.writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("1"));
    f.settings.writeText(QStringLiteral("Start"), QStringLiteral("Mode"), QStringLiteral("1"));
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(60, 60));
    f.panel().findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
    QCOMPARE(f.host.chooserRequests, 1);
    QCOMPARE(f.host.endRequests, 0);
    QCOMPARE(f.settings.readInt(QStringLiteral("Start"), QStringLiteral("Boolean"), 7), 0);
    QCOMPARE(f.settings.readInt(QStringLiteral("Start"), QStringLiteral("Mode"), 7), 1);
    QVERIFY(!anyWindowVisible());
}

// The mode start resets every option except JpegProgressive, ColorMode and
// GrayStrength, which live for the whole run.
void CaptureModeTest::optionsAcrossModes()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.options = UnusualOptions();
    f.panel().findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
    f.mode.reset();
    f.mode = std::make_unique<CaptureMode>(f.test.platform, f.settings, f.host, f.selection, f.options);
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    OutputOptions expected = UnusualOptions();
    InitOutputOptions(expected);
    QVERIFY(SameOptions(f.options, expected));
    QCOMPARE(f.options.JpegProgressive, std::int16_t{-1});
    QCOMPARE(f.options.ColorMode, std::int16_t{1});
    QCOMPARE(f.options.GrayStrength, 200);
    QCOMPARE(f.options.JpegQuality, std::int16_t{60});
    QCOMPARE(f.field("Text2").text(), QStringLiteral("100"));
}

void CaptureModeTest::newScreenSizeIsCopiedWhole_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("monitor plugged in") << QSize(1600, 900);
    QTest::newRow("monitor unplugged") << QSize(640, 480);
}

// The next new capture copies the screen at its new size and covers it, and the
// panel, which may have stood beyond the new right edge, is on the screen again.
void CaptureModeTest::newScreenSizeIsCopiedWhole()
{
    QFETCH(QSize, size);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.test.screen->screen.resize(size.width(), size.height());
    f.test.screen->screen.fill(0xFF123456);
    QPushButton* clear = PanelButton(f.panel(), "Command3");
    clear->click();
    clear->click();
    QTRY_VERIFY(f.desktop().isVisible());
    const DeviceContext& copy = f.desktop().surface();
    QCOMPARE(QSize(copy.width(), copy.height()), size);
    QCOMPARE(copy.row(size.height() - 1)[size.width() - 1], 0xFF123456u);
    QTRY_COMPARE(X11Desktop::geometry(f.desktop()), QRect(QPoint(0, 0), size));
    QTRY_VERIFY(QRect(QPoint(0, 0), size).contains(X11Desktop::geometry(f.panel())));
}
