// The mode's start, its refusal as a second instance, and the way back to the chooser.

#include "CaptureFixture.h"
#include "CaseName.h"
#include "QtPrinters.h"
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

#include <gtest/gtest.h>

namespace {

bool anyWindowVisible()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            return true;
    return false;
}

TEST(CaptureMode, LoadShowsFrozenScreen)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    scrimble& desktop = f.desktop();
    EXPECT_TRUE(desktop.isVisible());
    EXPECT_EQ(desktop.geometry(), QRect(0, 0, 1024, 768));
    EXPECT_TRUE(desktop.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(f.panel().isVisible());
    EXPECT_FALSE(f.picture().isVisible());
    EXPECT_EQ(f.picture().size(), QSize(0, 0));
    EXPECT_EQ(f.picture().windowTitle(), QStringLiteral("取得画像"));
    EXPECT_EQ(f.mode->selection().Magnification, std::int16_t{100});
    EXPECT_EQ(f.mode->selection().ScreenWidth, 1024);
    for (const char* name : {"sX", "sY", "eX", "eY", "Text1"})
        EXPECT_EQ(f.field(name).text(), QStringLiteral("0")) << name;
    EXPECT_EQ(f.field("Text2").text(), QStringLiteral("100"));
    EXPECT_EQ(f.model().screen().stretchMode, HALFTONE);
    EXPECT_EQ(f.model().picture().stretchMode, HALFTONE);
    for (const QPoint p : {QPoint(0, 0), QPoint(1023, 767), QPoint(512, 300)})
        EXPECT_EQ(f.model().screen().row(p.y())[p.x()], PatternPixel(p.x(), p.y())) << p.x() << ',' << p.y();
    EXPECT_FALSE(f.model().editor().shape().visible);
    EXPECT_FALSE(f.model().handlesVisible());
}

// The X server's stacking decides which window is under a point: the panel must stay
// above the desktop copy however the copy comes to the front, also without a window
// manager to keep it topmost.
TEST(CaptureMode, PanelStaysAboveDesktop)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.panel().move(300, 200);
    const QPoint centre = f.panel().geometry().center();
    const auto panelOnTop = [&] {
        QWidget* under = QApplication::widgetAt(centre);
        return under && under->window() == &f.panel();
    };
    ASSERT_TRUE(QTest::qWaitFor(panelOnTop, 5000)) << "at load";
    QTest::keyClick(&f.panel(), Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor(panelOnTop, 5000)) << "after F1 on the panel";
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(40, 40));
    QTest::keyClick(&f.picture(), Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor(panelOnTop, 5000)) << "after F1 on the picture";
}

// Without a window manager nobody moves the keyboard focus on a click; the windows
// take it themselves, so function keys and typed coordinates reach them.
TEST(CaptureMode, ClickGivesKeyboardFocus)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.panel().isActiveWindow(); }, 5000));
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(40, 40));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.desktop().isActiveWindow(); }, 5000));
    f.panel().hide();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    ASSERT_TRUE(f.panel().isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.panel().isActiveWindow(); }, 5000));
    QLineEdit& sX = f.field("sX");
    QTest::mouseClick(&sX, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sX.hasFocus(); }, 5000));
    MousePress(f.picture(), QPointF(5, 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.picture().isActiveWindow(); }, 5000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.desktop().isActiveWindow(); }, 5000));
}

TEST(CaptureMode, SecondInstanceEndsSilently)
{
    CaptureFixture f;
    f.test.lock->first = false;
    ASSERT_EQ(f.load(), ModeOpenResult::ProgramEnding);
    EXPECT_FALSE(anyWindowVisible());
    EXPECT_EQ(f.test.screen->grabCount, 0);
    EXPECT_TRUE(f.test.dialogs->messages.empty());
    EXPECT_TRUE(QDir(f.dir.path()).isEmpty());
}

// A lock that could not be used safely is no second instance: the user is told, and
// the mode does not open.
TEST(CaptureMode, UnusableLockIsReported)
{
    CaptureFixture f;
    f.test.lock->first = false;
    f.test.lock->problemText = QStringLiteral("The instance lock cannot be used.");
    ASSERT_EQ(f.load(), ModeOpenResult::NotOpened);
    EXPECT_FALSE(anyWindowVisible());
    ASSERT_EQ(f.test.dialogs->messages.size(), std::size_t{1});
    EXPECT_EQ(f.test.dialogs->messages[0].text, f.test.lock->problemText);
}

TEST(CaptureMode, UnreadableScreenIsReported)
{
    CaptureFixture f;
    const QString why = QStringLiteral("The screen cannot be read on this session.");
    f.test.screen->failWith(why);
    ASSERT_EQ(f.load(), ModeOpenResult::NotOpened);
    EXPECT_FALSE(anyWindowVisible());
    ASSERT_EQ(f.test.dialogs->messages.size(), std::size_t{1});
    EXPECT_EQ(f.test.dialogs->messages[0].text, why);
    EXPECT_EQ(f.test.dialogs->messages[0].title, QStringLiteral("Scrimble Ver3.1.0"));
}

TEST(CaptureMode, ReturnToChooser)
{
    CaptureFixture f;
    f.settings.writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("1"));
    f.settings.writeText(QStringLiteral("Start"), QStringLiteral("Mode"), QStringLiteral("1"));
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    MouseDrag(f.desktop(), QPointF(10, 10), QPointF(60, 60));
    f.panel().findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
    EXPECT_EQ(f.host.chooserRequests, 1);
    EXPECT_EQ(f.host.endRequests, 0);
    EXPECT_EQ(f.settings.readInt(QStringLiteral("Start"), QStringLiteral("Boolean"), 7), 0);
    EXPECT_EQ(f.settings.readInt(QStringLiteral("Start"), QStringLiteral("Mode"), 7), 1);
    EXPECT_FALSE(anyWindowVisible());
}

// The mode start resets every option except JpegProgressive, ColorMode and
// GrayStrength, which live for the whole run.
TEST(CaptureMode, OptionsAcrossModes)
{
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.options = UnusualOptions();
    f.panel().findChild<QAction*>(QStringLiteral("SelectM"))->trigger();
    f.mode.reset();
    f.mode = std::make_unique<CaptureMode>(f.test.platform, f.settings, f.host, f.selection, f.options);
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    OutputOptions expected = UnusualOptions();
    InitOutputOptions(expected);
    EXPECT_TRUE(SameOptions(f.options, expected));
    EXPECT_EQ(f.options.JpegProgressive, std::int16_t{-1});
    EXPECT_EQ(f.options.ColorMode, std::int16_t{1});
    EXPECT_EQ(f.options.GrayStrength, 200);
    EXPECT_EQ(f.options.JpegQuality, std::int16_t{60});
    EXPECT_EQ(f.field("Text2").text(), QStringLiteral("100"));
}

struct ScreenSizeCase {
    const char* name;
    QSize size;
    friend void PrintTo(const ScreenSizeCase& c, std::ostream* out) { *out << c.name; }
};

class NewScreenSize : public testing::TestWithParam<ScreenSizeCase>
{};

// The next new capture copies the screen at its new size and covers it, and the
// panel, which may have stood beyond the new right edge, is on the screen again.
TEST_P(NewScreenSize, IsCopiedWhole)
{
    const QSize size = GetParam().size;
    CaptureFixture f;
    ASSERT_EQ(f.load(), ModeOpenResult::Opened);
    f.test.screen->screen.resize(size.width(), size.height());
    f.test.screen->screen.fill(0xFF123456);
    QPushButton* clear = PanelButton(f.panel(), "Command3");
    clear->click();
    clear->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.desktop().isVisible(); }, 5000));
    const DeviceContext& copy = f.model().screen();
    ASSERT_EQ(QSize(copy.width(), copy.height()), size);
    EXPECT_EQ(copy.row(size.height() - 1)[size.width() - 1], 0xFF123456u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Desktop::geometry(f.desktop()) == QRect(QPoint(0, 0), size); }, 5000))
        << testing::PrintToString(X11Desktop::geometry(f.desktop()));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QRect(QPoint(0, 0), size).contains(X11Desktop::geometry(f.panel())); }, 5000))
        << testing::PrintToString(X11Desktop::geometry(f.panel()));
}

INSTANTIATE_TEST_SUITE_P(CaptureMode, NewScreenSize,
                         testing::Values(ScreenSizeCase{"monitor plugged in", QSize(1600, 900)},
                                         ScreenSizeCase{"monitor unplugged", QSize(640, 480)}),
                         PrintedCaseName());

}  // namespace
