// The command panel driven as the user drives it: typed fields committed by moving
// the focus on, buttons clicked, menu items triggered.

#include "CaptureFixture.h"
#include "CaseName.h"
#include "QtPrinters.h"
#include "ScreenAcquisition.h"
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

#include <gtest/gtest.h>

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

QAction* action(formcom& panel, const char* name) { return panel.findChild<QAction*>(QString::fromLatin1(name)); }

// The panel active with the keyboard focus in the named field.
bool focusField(CaptureFixture& f, const char* name)
{
    f.panel().activateWindow();
    if (!QTest::qWaitFor([&] { return f.panel().isActiveWindow(); }, 5000))
        return false;
    f.field(name).setFocus(Qt::OtherFocusReason);
    return QTest::qWaitFor([&] { return f.field(name).hasFocus(); }, 5000);
}

// A control of the panel, its caption and, for a menu item, its shortcut.
struct CaptionCase {
    const char* name;
    const char* caption;
    const char* shortcut = "";
    friend void PrintTo(const CaptionCase& c, std::ostream* out) { *out << c.name; }
};

class Captions : public testing::TestWithParam<CaptionCase>
{};

TEST_P(Captions, ShowTheControlsText)
{
    const QString name = QString::fromLatin1(GetParam().name);
    const QString caption = QString::fromUtf8(GetParam().caption);
    const QString shortcut = QString::fromLatin1(GetParam().shortcut);
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    formcom& panel = f.panel();
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("コマンド(Scrimble)"));
    EXPECT_TRUE(panel.windowFlags() & Qt::WindowStaysOnTopHint);
    QObject* control = panel.findChild<QObject*>(name);
    ASSERT_TRUE(control);
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
        EXPECT_EQ(item->shortcut().toString(), shortcut);
    }
    EXPECT_EQ(shown, caption);
}

INSTANTIATE_TEST_SUITE_P(
    CommandPanel, Captions,
    testing::Values(CaptionCase{"Command4", "更新(&R)"}, CaptionCase{"Command11", "クリップボードにコピー(&B)"},
                    CaptionCase{"Command10", "ピクチャフォーム最小化(&V)"}, CaptionCase{"Command9", "全面選択(&A)"},
                    CaptionCase{"Command8", "保存詳細(&O)"}, CaptionCase{"Command1", "保存(&S)"},
                    CaptionCase{"Command3", "クリア(&C)"}, CaptionCase{"Frame1", "座標入力"},
                    CaptionCase{"Label1", "second"}, CaptionCase{"Label2", "画像倍率"}, CaptionCase{"Label3", "%"},
                    CaptionCase{"Label4", "タイマ"}, CaptionCase{"file", "ﾌｧｲﾙ(&F)"},
                    CaptionCase{"take", "画像保存(&T)", "Ctrl+S"}, CaptionCase{"clear", "画像クリア(&C)"},
                    CaptionCase{"end", "終了(&E)"}, CaptionCase{"save", "保存して終了(&S)", "Ctrl+E"},
                    CaptionCase{"SelectM", "機能選択画面(&M)"}, CaptionCase{"oPtion", "設定(&P)"},
                    CaptionCase{"CC", "クリップボードにコピー(&C)", "Ctrl+C"}, CaptionCase{"another", "その他(&A)"},
                    CaptionCase{"screen", "解像度(&S)"}, CaptionCase{"version", "バージョン(&V)", "Ctrl+V"}),
    PrintedCaseName());

// Each row: the field typed into, its text, the opposite field's text beforehand
// (written from code, not committed), the variable and both texts afterwards.
struct CoordinateCase {
    const char* name;
    const char* field;
    const char* text;
    const char* opposite;
    const char* oppositeBefore;
    const char* variableName;
    int value;
    const char* shown;
    const char* oppositeAfter;
    friend void PrintTo(const CoordinateCase& c, std::ostream* out) { *out << c.name; }
};

class CoordinateCommit : public testing::TestWithParam<CoordinateCase>
{};

TEST_P(CoordinateCommit, SetsTheVariableAndTheFields)
{
    const CoordinateCase& c = GetParam();
    const QString variableName = QString::fromLatin1(c.variableName);
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QLineEdit& typed = f.field(c.field);
    QLineEdit& other = f.field(c.opposite);
    other.setText(QString::fromLatin1(c.oppositeBefore));
    ASSERT_TRUE(TypeAndCommit(f.panel(), typed, QString::fromLatin1(c.text)));
    EXPECT_EQ(variable(f, variableName), c.value);
    EXPECT_EQ(typed.text(), QString::fromLatin1(c.shown));
    EXPECT_EQ(other.text(), QString::fromLatin1(c.oppositeAfter));
    for (const QString name : {"StartX", "StartY", "EndX", "EndY"})
        if (name != variableName) {
            EXPECT_EQ(variable(f, name), 0) << name.toStdString();
        }
}

INSTANTIATE_TEST_SUITE_P(
    CommandPanel, CoordinateCommit,
    testing::Values(CoordinateCase{"sX -5", "sX", "-5", "eX", "0", "StartX", 0, "0", "0"},
                    CoordinateCase{"sX 5000 on 1024", "sX", "5000", "eX", "0", "StartX", 1024, "1024", "1024"},
                    CoordinateCase{"sX 1,024", "sX", "1,024", "eX", "2000", "StartX", 1024, "1024", "2000"},
                    CoordinateCase{"sX 12.9 floors", "sX", "12.9", "eX", "20", "StartX", 12, "12", "20"},
                    CoordinateCase{"sY -3.5 floors then clamps", "sY", "-3.5", "eY", "5", "StartY", 0, "0", "5"},
                    CoordinateCase{"sY not a number keeps 0", "sY", "abc", "eY", "5", "StartY", 0, "0", "5"},
                    CoordinateCase{"eX 300 with sX 500", "eX", "300", "sX", "500", "EndX", 300, "300", "300"},
                    CoordinateCase{"eY 5000 on 768", "eY", "5000", "sY", "10", "EndY", 768, "768", "10"},
                    CoordinateCase{"eY -7 with sY 4", "eY", "-7", "sY", "4", "EndY", 0, "0", "0"}),
    PrintedCaseName());

struct MagnificationCase {
    const char* name;
    const char* text;
    int value;
    friend void PrintTo(const MagnificationCase& c, std::ostream* out) { *out << c.name; }
};

class MagnificationCommit : public testing::TestWithParam<MagnificationCase>
{};

TEST_P(MagnificationCommit, KeepsItInBounds)
{
    const MagnificationCase& c = GetParam();
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(TypeAndCommit(f.panel(), f.field("Text2"), QString::fromLatin1(c.text)));
    EXPECT_EQ(int(f.mode->selection().Magnification), c.value);
    EXPECT_EQ(f.field("Text2").text(), QString::number(c.value));
}

INSTANTIATE_TEST_SUITE_P(CommandPanel, MagnificationCommit,
                         testing::Values(MagnificationCase{"75.9", "75.9", 75}, MagnificationCase{"300", "300", 200},
                                         MagnificationCase{"10", "10", 50},
                                         MagnificationCase{"not a number keeps 100", "x", 100}),
                         PrintedCaseName());

// Clear, then take image: the timer is armed with delay x 1000 + 1 ms.
struct DelayCase {
    const char* name;
    const char* text;
    int interval;
    const char* shown;
    friend void PrintTo(const DelayCase& c, std::ostream* out) { *out << c.name; }
};

class CaptureDelay : public testing::TestWithParam<DelayCase>
{};

TEST_P(CaptureDelay, ArmsTheTimer)
{
    const DelayCase& c = GetParam();
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QPushButton* clearButton = PanelButton(f.panel(), "Command3");
    QAction* clearItem = action(f.panel(), "clear");
    ASSERT_TRUE(TypeAndCommit(f.panel(), f.field("Text1"), QString::fromLatin1(c.text)));
    EXPECT_EQ(f.field("Text1").text(), QString::fromLatin1(c.shown));
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(60, 60));
    QTest::mouseClick(clearButton, Qt::LeftButton);
    EXPECT_EQ(clearButton->text(), QStringLiteral("画像取得(&T)"));
    EXPECT_EQ(clearItem->text(), QStringLiteral("画像取得(&T)"));
    EXPECT_FALSE(f.picture().isVisible());
    EXPECT_FALSE(f.model().editor().shape().visible);
    EXPECT_FALSE(f.model().handlesVisible());
    clearItem->trigger();
    EXPECT_EQ(f.mode->screenAcquisition().recaptureTimer().interval(), c.interval);
    EXPECT_TRUE(f.mode->screenAcquisition().recaptureTimer().isActive());
    EXPECT_FALSE(f.desktop().isVisible());
    EXPECT_FALSE(f.panel().isVisible());
    EXPECT_EQ(clearButton->text(), QStringLiteral("クリア(&C)"));
    EXPECT_EQ(clearItem->text(), QStringLiteral("画像クリア(&C)"));
    f.mode->screenAcquisition().stop();
}

INSTANTIATE_TEST_SUITE_P(CommandPanel, CaptureDelay,
                         testing::Values(DelayCase{"0", "0", 1, "0"}, DelayCase{"30", "30", 30001, "30"},
                                         DelayCase{"45 is kept to 30", "45", 30001, "30"},
                                         DelayCase{"-2 is kept to 0", "-2", 1, "0"},
                                         DelayCase{"not a number keeps 0", "soon", 1, "0"}),
                         PrintedCaseName());

TEST(CommandPanel, TakeImageCapturesAgain)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QPushButton* clearButton = PanelButton(f.panel(), "Command3");
    QTest::mouseClick(clearButton, Qt::LeftButton);
    EXPECT_EQ(f.model().screen().row(5)[5] & 0xFFFFFFu, 0xF0F0F0u);
    f.test.screen->screen.fill(0xFF123456);
    QTest::mouseClick(clearButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.desktop().isVisible(); }, 5000));
    EXPECT_TRUE(f.panel().isVisible());
    EXPECT_FALSE(f.picture().isVisible());
    EXPECT_FALSE(f.mode->screenAcquisition().recaptureTimer().isActive());
    EXPECT_EQ(f.model().screen().row(700)[1000], 0xFF123456u);
}

// Select all at 50 % on a 1024 x 768 screen commits the whole screen's corners.
TEST(CommandPanel, SelectAllAtHalfSize)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(f.type({{"Text2", "50"}, {"sX", "10"}, {"sY", "20"}, {"eX", "30"}, {"eY", "40"}}));
    QTest::mouseClick(PanelButton(f.panel(), "Command9"), Qt::LeftButton);
    const CaptureSelection& s = f.mode->selection();
    EXPECT_EQ(QSize(s.ViewWidth, s.ViewHeight), QSize(512, 384));
    EXPECT_EQ(f.picture().size(), QSize(512, 384));
    EXPECT_EQ((QList<int>{s.StartX, s.StartY, s.EndX, s.EndY}), (QList<int>{0, 0, 1024, 768}));
    EXPECT_EQ((QStringList{f.field("sX").text(), f.field("sY").text(), f.field("eX").text(), f.field("eY").text()}),
              (QStringList{"0", "0", "1024", "768"}));
    const ShapeRect& shape = f.model().editor().shape();
    EXPECT_EQ(QRectF(shape.left, shape.top, shape.width, shape.height), QRectF(0, 0, 1024, 768));
    EXPECT_TRUE(shape.visible && f.model().handlesVisible());
}

// sX committed after eX can leave StartX beyond EndX; Update then spans the same two
// corners the other way round.
TEST(CommandPanel, UpdateWithEndBeforeStart)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(f.type({{"sX", "500"}, {"sY", "100"}, {"eX", "600"}, {"eY", "200"}, {"sX", "700"}}));
    EXPECT_EQ(f.mode->selection().EndX, 600);
    QTest::mouseClick(PanelButton(f.panel(), "Command4"), Qt::LeftButton);
    const ShapeRect& shape = f.model().editor().shape();
    EXPECT_EQ(QRectF(shape.left, shape.top, shape.width, shape.height), QRectF(600, 100, 100, 100));
    ASSERT_EQ(f.picture().size(), QSize(100, 100));
    EXPECT_EQ(f.model().picture().row(0)[0] & 0xFFFFFFu, PatternPixel(600, 100) & 0xFFFFFFu);
}

TEST(CommandPanel, DesktopToggle)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    QPushButton* toggle = PanelButton(f.panel(), "Command10");
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(f.desktop().isMinimized());
    EXPECT_EQ(toggle->text(), QStringLiteral("ピクチャフォーム最大化(&S)"));
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(f.desktop().windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(toggle->text(), QStringLiteral("ピクチャフォーム最小化(&S)"));
    EXPECT_TRUE(f.panel().isVisible());
}

TEST(CommandPanel, DesktopToggleInNormalState)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.desktop().showNormal();
    QPushButton* toggle = PanelButton(f.panel(), "Command10");
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(f.desktop().windowState(), Qt::WindowStates(Qt::WindowNoState));
    EXPECT_TRUE(f.desktop().isVisible());
    EXPECT_EQ(toggle->text(), QStringLiteral("ピクチャフォーム最小化(&V)"));
}

// The menu item that ends, or none for closing the panel.
struct EndCase {
    const char* name;
    const char* command;
    friend void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }
};

class EndCommands : public testing::TestWithParam<EndCase>
{};

// Each way out ends the program and writes nothing: no Set.ini, no image file.
TEST_P(EndCommands, EndTheProgramWritingNothing)
{
    const char* command = GetParam().command;
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(60, 60));
    if (*command == '\0')
        f.panel().close();
    else
        action(f.panel(), command)->trigger();
    EXPECT_EQ(f.host.endRequests, 1);
    EXPECT_EQ(f.host.chooserRequests, 0);
    EXPECT_TRUE(QDir(f.dir.path()).isEmpty());
    EXPECT_TRUE(f.test.dialogs->saveRequests.empty());
}

INSTANTIATE_TEST_SUITE_P(CommandPanel, EndCommands,
                         testing::Values(EndCase{"end", "end"}, EndCase{"save ends like end", "save"},
                                         EndCase{"closing the panel", ""}),
                         PrintedCaseName());

struct ScreenInformationCase {
    const char* name;
    int bits;
    QString text;
    friend void PrintTo(const ScreenInformationCase& c, std::ostream* out) { *out << c.name; }
};

class ScreenInformation : public testing::TestWithParam<ScreenInformationCase>
{};

TEST_P(ScreenInformation, SaysTheSizeAndDepth)
{
    const ScreenInformationCase& c = GetParam();
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.test.screen->bitsPerPixel = c.bits;
    action(f.panel(), "screen")->trigger();
    ASSERT_EQ(f.test.dialogs->messages.size(), std::size_t{1});
    EXPECT_EQ(f.test.dialogs->messages[0].title, QStringLiteral("画素数"));
    EXPECT_EQ(f.test.dialogs->messages[0].text, c.text);
    EXPECT_EQ(f.test.dialogs->messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(int(f.mode->selection().ScreenBitsPerPixel), c.bits);
}

INSTANTIATE_TEST_SUITE_P(
    CommandPanel, ScreenInformation,
    testing::Values(
        ScreenInformationCase{"32 bits", 32, QStringLiteral("画面の領域　1024X768\r\n解像度　   　32ビット")},
        ScreenInformationCase{"16 bits", 16, QStringLiteral("画面の領域　1024X768\r\n解像度　   　16ビット")}),
    PrintedCaseName());

// The menus' Ctrl shortcuts reach their items while a field has the focus (a field
// would take Ctrl+C, Ctrl+V and Ctrl+E as editing keys). With nothing selected, save
// and copy answer with the save's error message.
enum class ShortcutOutcome { Error, About, End };

struct ShortcutCase {
    const char* name;
    Qt::Key key;
    ShortcutOutcome outcome;
    friend void PrintTo(const ShortcutCase& c, std::ostream* out) { *out << c.name; }
};

class MenuShortcutsFromAField : public testing::TestWithParam<ShortcutCase>
{};

TEST_P(MenuShortcutsFromAField, ReachTheirItems)
{
    const ShortcutCase& c = GetParam();
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(focusField(f, "Text1"));
    QTest::keyClick(&f.field("Text1"), c.key, Qt::ControlModifier);
    if (c.outcome == ShortcutOutcome::End) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.host.endRequests == 1; }, 5000)) << f.host.endRequests;
    } else if (c.outcome == ShortcutOutcome::About) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return TopLevel<frmAbout>() && TopLevel<frmAbout>()->isVisible(); }, 5000));
    } else {
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.test.dialogs->messages.size() == 1; }, 5000))
            << f.test.dialogs->messages.size();
        EXPECT_EQ(f.test.dialogs->messages[0].title, QStringLiteral("エラー"));
    }
    EXPECT_EQ(f.field("Text1").text(), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(CommandPanel, MenuShortcutsFromAField,
                         testing::Values(ShortcutCase{"Ctrl+S saves", Qt::Key_S, ShortcutOutcome::Error},
                                         ShortcutCase{"Ctrl+C copies", Qt::Key_C, ShortcutOutcome::Error},
                                         ShortcutCase{"Ctrl+V shows the version", Qt::Key_V, ShortcutOutcome::About},
                                         ShortcutCase{"Ctrl+E ends", Qt::Key_E, ShortcutOutcome::End}),
                         PrintedCaseName());

TEST(CommandPanel, FieldEditingKeysStillWork)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(focusField(f, "sX"));
    QLineEdit& sX = f.field("sX");
    QTest::keyClicks(&sX, QStringLiteral("123"));
    QTest::keyClick(&sX, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&sX, QStringLiteral("7"));
    EXPECT_EQ(sX.text(), QStringLiteral("7"));
    EXPECT_TRUE(f.test.dialogs->messages.empty());
}

// Alt+R works Update as a click does: the field being typed in is committed first.
TEST(CommandPanel, AccessKeyCommitsTheFocusedField)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(f.type({{"sX", "100"}, {"sY", "50"}, {"eX", "300"}}));
    ASSERT_TRUE(focusField(f, "eY"));
    QTest::keyClicks(&f.field("eY"), QStringLiteral("250"));
    QTest::keyClick(&f.field("eY"), Qt::Key_R, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.selection.EndY == 250; }, 5000)) << f.selection.EndY;
    const ShapeRect& shape = f.model().editor().shape();
    const auto shapeRect = [&] { return QRectF(shape.left, shape.top, shape.width, shape.height); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return shapeRect() == QRectF(100, 50, 200, 200); }, 5000))
        << testing::PrintToString(shapeRect());
    EXPECT_EQ(f.picture().size(), QSize(200, 200));
}

// Alt+A is the menu "another" and Command9's access key alike; the menu wins, each time.
TEST(CommandPanel, AltAOpensTheMenuEveryTime)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    auto* another = f.panel().findChild<QMenu*>(QStringLiteral("another"));
    for (int time = 0; time < 2; ++time) {
        ASSERT_TRUE(focusField(f, "Text1")) << "time " << time;
        QTest::keyClick(&f.field("Text1"), Qt::Key_A, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return another->isVisible(); }, 5000)) << "time " << time;
        QTest::keyClick(another, Qt::Key_Escape);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !another->isVisible(); }, 5000)) << "time " << time;
    }
    EXPECT_FALSE(f.picture().isVisible());
    EXPECT_EQ(f.selection.ViewWidth, 0);
}

}  // namespace
