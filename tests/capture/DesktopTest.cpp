// The mode on a real desktop: the test script runs it on several X screens (one
// monitor or two, of equal or different sizes) with openbox and with no window
// manager, and it checks what the X server shows.

#include "CaptureFixture.h"
#include "CaseName.h"
#include "FakeInstanceLock.h"
#include "ImagingTestSupport.h"
#include "Opt.h"
#include "PatternWindow.h"
#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "X11Desktop.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

// The real X11 platform, with a lock and dialogs of the test's.
struct RealDesktop {
    PatternWindow pattern{X11Desktop::rootRect().size()};
    RealPlatformCapture real;
    std::unique_ptr<CaptureMode> mode;

    // Shows the pattern, opens the mode on it and takes the pattern away again: what
    // shows the pattern from then on is the copy.
    [[nodiscard]] bool open()
    {
        pattern.show();
        const QRect root = X11Desktop::rootRect();
        if (!QTest::qWaitFor([&] { return pattern.isShownAt(root.bottomRight()); }, 5000))
            return false;
        mode = real.makeMode();
        if (LoadAndWait(*mode, real.host) != ModeOpenResult::Opened)
            return false;
        pattern.hide();
        return QTest::qWaitFor([&] { return X11Desktop::isViewable(mode->panel()); }, 5000);
    }
};

// In screen pixels: where Qt scales, a monitor keeps its top-left corner and its
// size shrinks by the scale.
QList<QRect> monitors()
{
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects.append(QRect(screen->geometry().topLeft(), screen->geometry().size() * screen->devicePixelRatio()));
    return rects;
}

// The panel is in front of the copy, and so is the picture window while it can be
// seen (one of 0 x 0 pixels cannot), behind the panel.
bool windowsInFront(CaptureMode& mode)
{
    if (!X11Desktop::isAbove(mode.panel(), mode.desktop()))
        return false;
    if (!X11Desktop::isViewable(mode.picture()))
        return true;
    return X11Desktop::isAbove(mode.picture(), mode.desktop()) && X11Desktop::isAbove(mode.panel(), mode.picture());
}

QPoint centreOf(const QWidget& window) { return X11Desktop::geometry(window).center(); }

TEST(Desktop, CopyCoversEveryMonitor)
{
    RealDesktop desktop;
    ASSERT_TRUE(desktop.open());
    EXPECT_EQ(X11Desktop::geometry(desktop.mode->desktop()), X11Desktop::rootRect());
    const QRect panel = X11Desktop::geometry(desktop.mode->panel());
    // The loops stop at the first point that does not show the pattern.
    for (const QRect& monitor : monitors())
        for (int y = monitor.top(); y <= monitor.bottom(); y += 97)
            for (int x = monitor.left(); x <= monitor.right(); x += 89)
                if (!panel.adjusted(-8, -40, 8, 8).contains(x, y)) {
                    ASSERT_TRUE(desktop.pattern.isShownAt({x, y})) << x << ',' << y;
                }
}

TEST(Desktop, DragOnEachMonitorSelectsThePixelsUnderIt)
{
    RealDesktop desktop;
    ASSERT_TRUE(desktop.open());
    for (const QRect& monitor : monitors()) {
        const QRect selected(monitor.center() - QPoint(150, 100), QSize(101, 61));
        ASSERT_TRUE(X11Desktop::drag(selected.topLeft(), selected.topLeft() + QPoint(101, 61)));
        const DeviceContext& shown = desktop.mode->model().picture();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QSize(shown.width(), shown.height()) == selected.size(); }, 5000))
            << shown.width() << " x " << shown.height();
        QLineEdit* sX = desktop.mode->panel().findChild<QLineEdit*>(QStringLiteral("sX"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return sX->text() == QString::number(selected.left()); }, 5000))
            << sX->text().toStdString();
        ASSERT_EQ(DifferingPixels(shown, PatternPixel, selected.topLeft()), 0);
        // Saved at once, from the copy: the dragged screen pixels, whatever Qt's scale.
        const QString path = desktop.real.dir.filePath(QStringLiteral("drag.png"));
        desktop.real.options.ColorMode = 1;
        desktop.real.dialogs->saveAnswers.push_back(SaveFileAnswer{path, 3});
        PanelButton(desktop.mode->panel(), "Command1")->click();
        const PillowImage saved = decodeWithPillow(QFile::encodeName(path).toStdString());
        ASSERT_EQ(QSize(saved.width, saved.height), selected.size());
        EXPECT_EQ(saved.rgb.front(), PatternPixel(selected.left(), selected.top()) & 0xFFFFFFu);
        EXPECT_EQ(saved.rgb.back(), PatternPixel(selected.right(), selected.bottom()) & 0xFFFFFFu);
    }
}

// Drags sent in one burst, as scripts, remote desktops and tablets send them: Qt
// merges the moves, and press, moves and release can share a millisecond. Corners
// around a point left of the first monitor's centre (an even pixel), where neither the
// panel nor the picture window lies at any scale, on odd and even pixels (Qt's scale
// makes pairs of them one window pixel).
struct BurstDragCase {
    const char* name;
    QPoint from;  // from that point
    QPoint to;
    friend void PrintTo(const BurstDragCase& c, std::ostream* out) { *out << c.name; }
};

class BurstDrag : public testing::TestWithParam<BurstDragCase>
{};

QStringList cornerTexts(formcom& panel)
{
    QStringList texts;
    for (const char* name : {"sX", "sY", "eX", "eY"})
        texts.append(panel.findChild<QLineEdit*>(QString::fromLatin1(name))->text());
    return texts;
}

TEST_P(BurstDrag, SelectsExactlyTheDraggedPixelsEveryTime)
{
    RealDesktop desktop;
    ASSERT_TRUE(desktop.open());
    CaptureMode& mode = *desktop.mode;
    const QRect monitor = monitors().constFirst();
    const QPoint origin = monitor.topLeft() + QPoint(monitor.width() / 2 - 200, monitor.height() / 2);
    const QPoint from = origin + GetParam().from;
    const QPoint to = origin + GetParam().to;
    const QRect selected(std::min(from.x(), to.x()), std::min(from.y(), to.y()), std::abs(to.x() - from.x()),
                         std::abs(to.y() - from.y()));
    const QStringList expected{QString::number(selected.left()), QString::number(selected.top()),
                               QString::number(selected.right() + 1), QString::number(selected.bottom() + 1)};
    // A click between drags empties the selection, so that each drag's release shows.
    const QPoint away = origin + QPoint(0, monitor.height() / 4);
    const QStringList clicked{QString::number(away.x()), QString::number(away.y()), QString::number(away.x()),
                              QString::number(away.y())};
    // Sent while the program waits, the events come in one batch and Qt merges the
    // moves; sent while it handles events, they come one by one.
    const std::vector<std::pair<const char*, std::function<bool()>>> senders{
        {"in one batch", [&] { return X11Desktop::drag(from, to); }},
        {"one by one", [&] { return X11Desktop::dragWhileHandlingEvents(from, to); }},
    };
    for (int run = 0; run < 20; ++run)
        for (const auto& [delivery, send] : senders) {
            ASSERT_TRUE(X11Desktop::click(away));
            ASSERT_TRUE(QTest::qWaitFor([&] { return cornerTexts(mode.panel()) == clicked; }, 5000))
                << cornerTexts(mode.panel()).join(' ').toStdString();
            ASSERT_TRUE(send());
            ASSERT_TRUE(QTest::qWaitFor([&] { return cornerTexts(mode.panel()) != clicked; }, 5000)) << delivery;
            ASSERT_EQ(cornerTexts(mode.panel()), expected) << delivery << ", run " << run;
            const DeviceContext& shown = mode.model().picture();
            ASSERT_EQ(QSize(shown.width(), shown.height()), selected.size()) << delivery << ", run " << run;
            ASSERT_EQ(DifferingPixels(shown, PatternPixel, selected.topLeft()), 0) << delivery << ", run " << run;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Desktop, BurstDrag,
    testing::Values(BurstDragCase{"even to even, up and left", QPoint(100, 100), QPoint(-100, -50)},
                    BurstDragCase{"odd to even, down and right", QPoint(-99, -49), QPoint(100, 100)},
                    BurstDragCase{"even to odd, down and left", QPoint(100, -50), QPoint(-99, 101)},
                    BurstDragCase{"odd to odd, up and right", QPoint(-101, 99), QPoint(101, -51)}),
    PrintedCaseName());

TEST(Desktop, PanelAndPictureStayInFrontOfTheCopy)
{
    RealDesktop desktop;
    ASSERT_TRUE(desktop.open());
    CaptureMode& mode = *desktop.mode;
    const QRect monitor = monitors().constFirst();
    const QPoint away = monitor.center() + QPoint(0, monitor.height() / 4);
    QPushButton* toggle = PanelButton(mode.panel(), "Command10");
    QPushButton* clear = PanelButton(mode.panel(), "Command3");
    const std::vector<std::pair<const char*, std::function<void()>>> steps{
        {"at load", [] {}},
        {"during a drag",
         [&] {
             QProcess::execute(QStringLiteral("xdotool"),
                               {"mousemove", "40", "40", "mousedown", "1", "mousemove", "300", "200"});
         }},
        {"after the release",
         [&] {
             QProcess::execute(QStringLiteral("xdotool"), {"mouseup", "1"});
         }},
        {"after a click without movement", [&] { X11Desktop::click(away); }},
        {"after F1",
         [&] {
             X11Desktop::click(centreOf(mode.panel()));
             X11Desktop::key("F1");
         }},
        {"after a new capture",
         [&] {
             clear->click();
             clear->click();
         }},
        {"after minimising and restoring the copy",
         [&] {
             toggle->click();
             toggle->click();
         }},
    };
    for (const auto& [name, step] : steps) {
        step();
        QTest::qWait(100);
        ASSERT_TRUE(QTest::qWaitFor([&] { return mode.desktop().isVisible() && windowsInFront(mode); }, 5000)) << name;
    }
    if (X11Desktop::hasWindowManager()) {
        EXPECT_TRUE(X11Desktop::hasNetWmState(mode.panel(), "_NET_WM_STATE_ABOVE"));
    }
}

// A window is moved and closed by its title bar: the frame lies on the screen, the
// picture window's in the top-left corner.
TEST(Desktop, PanelAndPictureOpenWithTheirFramesOnTheScreen)
{
    RealDesktop desktop;
    ASSERT_TRUE(desktop.open());
    CaptureMode& mode = *desktop.mode;
    ASSERT_TRUE(X11Desktop::drag({400, 300}, {520, 380}));
    // Not asked of the server before the program shows it: that would make its native
    // window early.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return mode.picture().isVisible() && X11Desktop::isViewable(mode.picture()); }, 5000));
    EXPECT_EQ(X11Desktop::frameGeometry(mode.picture()).topLeft(), QPoint(0, 0));
    EXPECT_TRUE(X11Desktop::rootRect().contains(X11Desktop::frameGeometry(mode.panel())));
}

// F1 from the panel gives the copy the keyboard; F2 from there brings the minimised
// panel back, and F3 from the panel the minimised picture window.
TEST(Desktop, FunctionKeysBringBackMinimisedWindows)
{
    RealDesktop desktop;
    ASSERT_TRUE(desktop.open());
    CaptureMode& mode = *desktop.mode;
    const QRect monitor = monitors().constFirst();
    ASSERT_TRUE(X11Desktop::drag(monitor.center(), monitor.center() + QPoint(120, 80)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Desktop::isViewable(mode.picture()); }, 5000));
    ASSERT_TRUE(X11Desktop::click(centreOf(mode.panel())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode.panel().isActiveWindow(); }, 5000));
    ASSERT_TRUE(X11Desktop::key("F1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode.desktop().isActiveWindow(); }, 5000));
    for (QWidget* window : {static_cast<QWidget*>(&mode.panel()), static_cast<QWidget*>(&mode.picture())}) {
        window->showMinimized();
        if (X11Desktop::hasWindowManager()) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !X11Desktop::isViewable(*window); }, 5000))
                << window->windowTitle().toStdString();
        }
    }
    ASSERT_TRUE(X11Desktop::key("F2"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Desktop::isViewable(mode.panel()); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode.panel().isActiveWindow(); }, 5000));
    ASSERT_TRUE(X11Desktop::key("F3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Desktop::isViewable(mode.picture()); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowsInFront(mode); }, 5000));
}

// The options window stands in front of the copy, within one monitor even where its
// layout asks for more (it scrolls then), and goes when another window takes the
// focus from it while none of its controls holds it.
TEST(Desktop, OptionsWindowFitsAMonitorAndClosesWhenFocusGoesElsewhere)
{
    RealDesktop desktop;
    ASSERT_TRUE(desktop.open());
    CaptureMode& mode = *desktop.mode;
    PanelButton(mode.panel(), "Command8")->click();
    Opt* options = TopLevel<Opt>();
    ASSERT_TRUE(options);
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Desktop::isViewable(*options); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Desktop::isAbove(*options, mode.desktop()); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return options->isActiveWindow(); }, 5000));
    const QRect frame = X11Desktop::frameGeometry(*options);
    const QList<QRect> screens = monitors();
    EXPECT_TRUE(std::any_of(screens.begin(), screens.end(), [&](const QRect& m) { return m.contains(frame); }))
        << frame.width() << " x " << frame.height();
    if (QWidget* focused = options->focusWidget())
        focused->clearFocus();
    // On the panel, or where the options window covers it (under Qt's scale 2 it takes
    // most of the screen), on a corner of the copy.
    const QRect covered = X11Desktop::geometry(*options);
    const QRect screen = X11Desktop::rootRect().adjusted(5, 5, -5, -5);
    QPoint elsewhere = centreOf(mode.panel());
    for (const QPoint corner : {screen.bottomRight(), screen.bottomLeft(), screen.topLeft(), screen.topRight()})
        if (covered.contains(elsewhere))
            elsewhere = corner;
    ASSERT_FALSE(covered.contains(elsewhere));
    ASSERT_TRUE(X11Desktop::click(elsewhere));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !X11Desktop::isViewable(*options); }, 5000));
}

}  // namespace
