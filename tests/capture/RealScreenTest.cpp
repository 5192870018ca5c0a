// The mode on the real X11 screen: a window painted with a known pattern covers the
// screen, the X11 grabber copies it, and a mouse selection must show exactly those
// pixels, in the picture window's surface and on the screen itself.

#include "CaptureFixture.h"
#include "PatternWindow.h"
#include "QtPrinters.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(RealScreen, SelectionOfThePaintedScreen)
{
    const QSize screenSize = QGuiApplication::primaryScreen()->size();
    PatternWindow pattern(screenSize);
    pattern.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pattern));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return pattern.isShownAt(QPoint(screenSize.width() - 1, screenSize.height() - 1)); }, 5000));

    RealPlatformCapture real;
    const std::unique_ptr<CaptureMode> made = real.makeMode();
    CaptureMode& mode = *made;
    ASSERT_EQ(mode.load(), ModeOpenResult::Opened);
    const DeviceContext& copy = mode.model().screen();
    ASSERT_EQ(QSize(copy.width(), copy.height()), screenSize);
    ASSERT_EQ(DifferingPixels(copy, PatternPixel), 0);
    pattern.hide();

    const QRect selected(640, 480, 300, 200);
    MouseDrag(mode.desktop(), selected.topLeft(), selected.topLeft() + QPoint(300, 200));
    const DeviceContext& shown = mode.model().picture();
    ASSERT_EQ(QSize(shown.width(), shown.height()), selected.size());
    ASSERT_EQ(DifferingPixels(shown, PatternPixel, selected.topLeft()), 0);

    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mode.picture()));
    const QPoint origin = mode.picture().mapToGlobal(QPoint(0, 0));
    const auto onScreen = [&] {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, origin.x(), origin.y(), selected.width(), selected.height())
            .toImage();
    };
    const QPoint last(selected.width() - 1, selected.height() - 1);
    const std::uint32_t lastPixel = PatternPixel(selected.right(), selected.bottom()) & 0xFFFFFFu;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (onScreen().pixel(last) & 0xFFFFFFu) == lastPixel; }, 5000))
        << std::hex << (onScreen().pixel(last) & 0xFFFFFFu) << " instead of " << lastPixel;
    const QImage image = onScreen();
    for (int y = 0; y < selected.height(); ++y)
        for (int x = 0; x < selected.width(); ++x)
            ASSERT_EQ(image.pixel(x, y) & 0xFFFFFFu, PatternPixel(selected.x() + x, selected.y() + y) & 0xFFFFFFu)
                << x << ',' << y;

    // Take image with no delay: the windows of the mode go, the inverted pattern is
    // uncovered, and the new copy is taken from the real screen, not from the old copy.
    const auto copyShowsInvertedPattern = [&] {
        for (int y = 0; y < copy.height(); y += 9)
            for (int x = 0; x < copy.width(); x += 7)
                if ((copy.row(y)[x] & 0xFFFFFFu) != (~PatternPixel(x, y) & 0xFFFFFFu))
                    return false;
        return true;
    };
    pattern.invert();
    pattern.show();
    mode.desktop().raise();
    QPushButton* clearOrTake = PanelButton(mode.panel(), "Command3");
    clearOrTake->click();
    clearOrTake->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode.desktop().isVisible(); }, 5000));
    EXPECT_TRUE(copyShowsInvertedPattern());
}

}  // namespace
