// The command panel driven as the user drives it: typed fields committed by moving
// the focus on, buttons clicked, menu items triggered.

#include "CommandPanelTest.h"

#include "CaptureFixture.h"
#include "about/frmAbout.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

std::int32_t variable(CaptureFixture& f, const QString& name)
{
    const CaptureSelection& s = f.mode->selection();
    if (name == "StartX")
        return s.StartX;
    if (name == "StartY")
        return s.StartY;
    if (name == "EndX")
        return s.EndX;
    return s.EndY;
}

QAction* action(formcom& panel, const char* name)
{
    return panel.findChild<QAction*>(QString::fromLatin1(name));
}

// The panel active with the keyboard focus in the named field.
bool focusField(CaptureFixture& f, const char* name)
{
    f.panel().activateWindow();
    if (!QTest::qWaitFor([&] { return f.panel().isActiveWindow(); }, 5000))
        return false;
    f.field(name).setFocus(Qt::OtherFocusReason);
    return QTest::qWaitFor([&] { return f.field(name).hasFocus(); }, 5000);
}


}  // namespace

void CommandPanelTest::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    const auto row = [](const char* name, const char* caption, const char* shortcut = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << QString::fromLatin1(shortcut);
    };
    row("Command4", "更新(&R)");
    row("Command11", "クリップボードにコピー(&B)");
    row("Command10", "ピクチャフォーム最小化(&V)");
    row("Command9", "全面選択(&A)");
    row("Command8", "保存詳細(&O)");
    row("Command1", "保存(&S)");
    row("Command3", "クリア(&C)");
    row("Frame1", "座標入力");
    row("Label1", "second");
    row("Label2", "画像倍率");
    row("Label3", "%");
    row("Label4", "タイマ");
    row("file", "ﾌｧｲﾙ(&F)");
    row("take", "画像保存(&T)", "Ctrl+S");
    row("clear", "画像クリア(&C)");
    row("end", "終了(&E)");
    row("save", "保存して終了(&S)", "Ctrl+E");
    row("SelectM", "機能選択画面(&M)");
    row("oPtion", "設定(&P)");
    row("CC", "クリップボードにコピー(&C)", "Ctrl+C");
    row("another", "その他(&A)");
    row("screen", "解像度(&S)");
    row("version", "バージョン(&V)", "Ctrl+V");
}

void CommandPanelTest::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    formcom& panel = f.panel();
    QCOMPARE(panel.windowTitle(), QStringLiteral("コマンド(Scrimble)"));
    QVERIFY(panel.windowFlags() & Qt::WindowStaysOnTopHint);
    QObject* control = panel.findChild<QObject*>(name);
    QVERIFY(control);
    QString shown;
    if (auto* button = qobject_cast<QPushButton*>(control))
        shown = button->text();
    else if (auto* label = qobject_cast<QLabel*>(control))
        shown = label->text();
    else if (auto* frame = qobject_cast<QGroupBox*>(control))
        shown = frame->title();
    else if (auto* menu = qobject_cast<QMenu*>(control))
        shown = menu->title();
    else if (auto* item = qobject_cast<QAction*>(control)) {
        shown = item->text();
        QCOMPARE(item->shortcut().toString(), shortcut);
    }
    QCOMPARE(shown, caption);
}

// Each row: the field typed into, its text, the opposite field's text beforehand
// (written from code, not committed), the variable and both texts afterwards.
void CommandPanelTest::coordinateCommit_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("opposite");
    QTest::addColumn<QString>("oppositeBefore");
    QTest::addColumn<QString>("variableName");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("oppositeAfter");
    QTest::newRow("sX -5") << "sX" << "-5" << "eX" << "0" << "StartX" << 0 << "0" << "0";
    QTest::newRow("sX 5000 on 1024") << "sX" << "5000" << "eX" << "0" << "StartX" << 1024 << "1024" << "1024";
    QTest::newRow("sX 1,024") << "sX" << "1,024" << "eX" << "2000" << "StartX" << 1024 << "1024" << "2000";
    QTest::newRow("sX 12.9 floors") << "sX" << "12.9" << "eX" << "20" << "StartX" << 12 << "12" << "20";
    QTest::newRow("sY -3.5 floors then clamps") << "sY" << "-3.5" << "eY" << "5" << "StartY" << 0 << "0" << "5";
    QTest::newRow("sY not a number keeps 0") << "sY" << "abc" << "eY" << "5" << "StartY" << 0 << "0" << "5";
    QTest::newRow("eX 300 with sX 500") << "eX" << "300" << "sX" << "500" << "EndX" << 300 << "300" << "300";
    QTest::newRow("eY 5000 on 768") << "eY" << "5000" << "sY" << "10" << "EndY" << 768 << "768" << "10";
    QTest::newRow("eY -7 with sY 4") << "eY" << "-7" << "sY" << "4" << "EndY" << 0 << "0" << "0";
}

void CommandPanelTest::coordinateCommit()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, opposite);
    QFETCH(QString, oppositeBefore);
    QFETCH(QString, variableName);
    QFETCH(int, value);
    QFETCH(QString, shown);
    QFETCH(QString, oppositeAfter);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QLineEdit& typed = f.field(qPrintable(field));
    QLineEdit& other = f.field(qPrintable(opposite));
    other.setText(oppositeBefore);
    QVERIFY(TypeAndCommit(f.panel(), typed, text));
    QCOMPARE(variable(f, variableName), value);
    QCOMPARE(typed.text(), shown);
    QCOMPARE(other.text(), oppositeAfter);
    for (const QString name : {"StartX", "StartY", "EndX", "EndY"})
        if (name != variableName)
            QCOMPARE(variable(f, name), 0);
}

void CommandPanelTest::magnificationCommit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("75.9") << "75.9" << 75;
    QTest::newRow("300") << "300" << 200;
    QTest::newRow("10") << "10" << 50;
    QTest::newRow("not a number keeps 100") << "x" << 100;
}

void CommandPanelTest::magnificationCommit()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(TypeAndCommit(f.panel(), f.field("Text2"), text));
    QCOMPARE(int(f.mode->selection().Magnification), value);
    QCOMPARE(f.field("Text2").text(), QString::number(value));
}

// Clear, then take image: the timer is armed with delay x 1000 + 1 ms.
void CommandPanelTest::captureDelay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << "0" << 1 << "0";
    QTest::newRow("30") << "30" << 30001 << "30";
    QTest::newRow("45 is kept to 30") << "45" << 30001 << "30";
    QTest::newRow("-2 is kept to 0") << "-2" << 1 << "0";
    QTest::newRow("not a number keeps 0") << "soon" << 1 << "0";
}

void CommandPanelTest::captureDelay()
{
    QFETCH(QString, text);
    QFETCH(int, interval);
    QFETCH(QString, shown);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QPushButton* clearButton = PanelButton(f.panel(), "Command3");
    QAction* clearItem = action(f.panel(), "clear");
    QVERIFY(TypeAndCommit(f.panel(), f.field("Text1"), text));
    QCOMPARE(f.field("Text1").text(), shown);
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(60, 60));
    QTest::mouseClick(clearButton, Qt::LeftButton);
    QCOMPARE(clearButton->text(), QStringLiteral("画像取得(&T)"));
    QCOMPARE(clearItem->text(), QStringLiteral("画像取得(&T)"));
    QVERIFY(!f.picture().isVisible());
    QVERIFY(!f.desktop().editor().shape().visible);
    QVERIFY(!f.desktop().handlesVisible());
    clearItem->trigger();
    QCOMPARE(f.desktop().recaptureTimer().interval(), interval);
    QVERIFY(f.desktop().recaptureTimer().isActive());
    QVERIFY(!f.desktop().isVisible());
    QVERIFY(!f.panel().isVisible());
    QCOMPARE(clearButton->text(), QStringLiteral("クリア(&C)"));
    QCOMPARE(clearItem->text(), QStringLiteral("画像クリア(&C)"));
    f.desktop().stopRecapture();
}

void CommandPanelTest::takeImageCapturesAgain()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QPushButton* clearButton = PanelButton(f.panel(), "Command3");
    QTest::mouseClick(clearButton, Qt::LeftButton);
    QCOMPARE(f.desktop().surface().row(5)[5] & 0xFFFFFFu, 0xF0F0F0u);
    f.test.screen->screen.fill(0xFF123456);
    QTest::mouseClick(clearButton, Qt::LeftButton);
    QTRY_VERIFY(f.desktop().isVisible());
    QVERIFY(f.panel().isVisible());
    QVERIFY(!f.picture().isVisible());
    QVERIFY(!f.desktop().recaptureTimer().isActive());
    QCOMPARE(f.desktop().surface().row(700)[1000], 0xFF123456u);
}

// Select all at 50 % on a 1024 x 768 screen commits the whole screen's corners.
void CommandPanelTest::selectAllAtHalfSize()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(f.type({{"Text2", "50"}, {"sX", "10"}, {"sY", "20"}, {"eX", "30"}, {"eY", "40"}}));
    QTest::mouseClick(PanelButton(f.panel(), "Command9"), Qt::LeftButton);
    const CaptureSelection& s = f.mode->selection();
    QCOMPARE(QSize(s.ViewWidth, s.ViewHeight), QSize(512, 384));
    QCOMPARE(f.picture().size(), QSize(512, 384));
    QCOMPARE((QList<int>{s.StartX, s.StartY, s.EndX, s.EndY}), (QList<int>{0, 0, 1024, 768}));
    QCOMPARE((QStringList{f.field("sX").text(), f.field("sY").text(), f.field("eX").text(), f.field("eY").text()}),
             (QStringList{"0", "0", "1024", "768"}));
    const ShapeRect& shape = f.desktop().editor().shape();
    QCOMPARE(QRectF(shape.left, shape.top, shape.width, shape.height), QRectF(0, 0, 1024, 768));
    QVERIFY(shape.visible && f.desktop().handlesVisible());
}

// sX committed after eX can leave StartX beyond EndX; Update then spans the same two
// corners the other way round.
void CommandPanelTest::updateWithEndBeforeStart()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(f.type({{"sX", "500"}, {"sY", "100"}, {"eX", "600"}, {"eY", "200"}, {"sX", "700"}}));
    QCOMPARE(f.mode->selection().EndX, 600);
    QTest::mouseClick(PanelButton(f.panel(), "Command4"), Qt::LeftButton);
    const ShapeRect& shape = f.desktop().editor().shape();
    QCOMPARE(QRectF(shape.left, shape.top, shape.width, shape.height), QRectF(600, 100, 100, 100));
    QCOMPARE(f.picture().size(), QSize(100, 100));
    QCOMPARE(f.picture().surface().row(0)[0] & 0xFFFFFFu, PatternPixel(600, 100) & 0xFFFFFFu);
}

void CommandPanelTest::desktopToggle()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QPushButton* toggle = PanelButton(f.panel(), "Command10");
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(f.desktop().isMinimized());
    QCOMPARE(toggle->text(), QStringLiteral("ピクチャフォーム最大化(&S)"));
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(f.desktop().windowState() & Qt::WindowFullScreen);
    QCOMPARE(toggle->text(), QStringLiteral("ピクチャフォーム最小化(&S)"));
    QVERIFY(f.panel().isVisible());
}

void CommandPanelTest::desktopToggleInNormalState()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.desktop().showNormal();
    QPushButton* toggle = PanelButton(f.panel(), "Command10");
    QTest::mouseClick(toggle, Qt::LeftButton);
    QCOMPARE(f.desktop().windowState(), Qt::WindowNoState);
    QVERIFY(f.desktop().isVisible());
    QCOMPARE(toggle->text(), QStringLiteral("ピクチャフォーム最小化(&V)"));
}

void CommandPanelTest::endCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("end") << "end";
    QTest::newRow("save ends like end") << "save";
    QTest::newRow("closing the panel") << "";
}

// Each way out ends the program and writes nothing: no Set.ini, no image file.
void CommandPanelTest::endCommands()
{
    QFETCH(QString, command);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(60, 60));
    if (command.isEmpty())
        f.panel().close();
    else
        action(f.panel(), qPrintable(command))->trigger();
    QCOMPARE(f.host.endRequests, 1);
    QCOMPARE(f.host.chooserRequests, 0);
    QVERIFY(QDir(f.dir.path()).isEmpty());
    QVERIFY(f.test.dialogs->saveRequests.empty());
}

void CommandPanelTest::screenInformation_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("text");
    QTest::newRow("32 bits") << 32 << QStringLiteral("画面の領域　1024X768\r\n解像度　   　32ビット");
    QTest::newRow("16 bits") << 16 << QStringLiteral("画面の領域　1024X768\r\n解像度　   　16ビット");
}

void CommandPanelTest::screenInformation()
{
    QFETCH(int, bits);
    QFETCH(QString, text);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    f.test.screen->bitsPerPixel = bits;
    action(f.panel(), "screen")->trigger();
    QCOMPARE(f.test.dialogs->messages.size(), std::size_t{1});
    QCOMPARE(f.test.dialogs->messages[0].title, QStringLiteral("画素数"));
    QCOMPARE(f.test.dialogs->messages[0].text, text);
    QCOMPARE(f.test.dialogs->messages[0].buttons, MessageButtons::Ok);
    QCOMPARE(int(f.mode->selection().ScreenBitsPerPixel), bits);
}

// The menus' Ctrl shortcuts reach their items while a field has the focus (a field
// would take Ctrl+C, Ctrl+V and Ctrl+E as editing keys). With nothing selected, save
// and copy answer with the save's error message.
void CommandPanelTest::menuShortcutsFromAField_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("Ctrl+S saves") << int(Qt::Key_S) << QStringLiteral("error");
    QTest::newRow("Ctrl+C copies") << int(Qt::Key_C) << QStringLiteral("error");
    QTest::newRow("Ctrl+V shows the version") << int(Qt::Key_V) << QStringLiteral("about");
    QTest::newRow("Ctrl+E ends") << int(Qt::Key_E) << QStringLiteral("end");
}

void CommandPanelTest::menuShortcutsFromAField()
{
    QFETCH(int, key);
    QFETCH(QString, outcome);
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(focusField(f, "Text1"));
    QTest::keyClick(&f.field("Text1"), Qt::Key(key), Qt::ControlModifier);
    if (outcome == u"end") {
        QTRY_COMPARE(f.host.endRequests, 1);
    } else if (outcome == u"about") {
        QTRY_VERIFY(TopLevel<frmAbout>() && TopLevel<frmAbout>()->isVisible());
    } else {
        QTRY_COMPARE(f.test.dialogs->messages.size(), std::size_t{1});
        QCOMPARE(f.test.dialogs->messages[0].title, QStringLiteral("エラー"));
    }
    QCOMPARE(f.field("Text1").text(), QStringLiteral("0"));
}

void CommandPanelTest::fieldEditingKeysStillWork()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(focusField(f, "sX"));
    QLineEdit& sX = f.field("sX");
    QTest::keyClicks(&sX, QStringLiteral("123"));
    QTest::keyClick(&sX, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&sX, QStringLiteral("7"));
    QCOMPARE(sX.text(), QStringLiteral("7"));
    QVERIFY(f.test.dialogs->messages.empty());
}

// Alt+R works Update as a click does: the field being typed in is committed first.
void CommandPanelTest::accessKeyCommitsTheFocusedField()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    QVERIFY(f.type({{"sX", "100"}, {"sY", "50"}, {"eX", "300"}}));
    QVERIFY(focusField(f, "eY"));
    QTest::keyClicks(&f.field("eY"), QStringLiteral("250"));
    QTest::keyClick(&f.field("eY"), Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(f.selection.EndY, 250);
    const ShapeRect& shape = f.desktop().editor().shape();
    QTRY_COMPARE(QRectF(shape.left, shape.top, shape.width, shape.height), QRectF(100, 50, 200, 200));
    QCOMPARE(f.picture().size(), QSize(200, 200));
}

// Alt+A is the menu "another" and Command9's access key alike; the menu wins, each time.
void CommandPanelTest::altAOpensTheMenuEveryTime()
{
    CaptureFixture f;
    QCOMPARE(f.load(), ModeOpenResult::Opened);
    auto* another = f.panel().findChild<QMenu*>(QStringLiteral("another"));
    for (int time = 0; time < 2; ++time) {
        QVERIFY(focusField(f, "Text1"));
        QTest::keyClick(&f.field("Text1"), Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(another->isVisible());
        QTest::keyClick(another, Qt::Key_Escape);
        QTRY_VERIFY(!another->isVisible());
    }
    QVERIFY(!f.picture().isVisible());
    QCOMPARE(f.selection.ViewWidth, 0);
}

