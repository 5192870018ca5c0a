// The capture mode inside a real GNOME or KDE Plasma session (run-on-desktop-stack).
// Plasma's portal cancels every screenshot request that does not ask the user: there
// the copy comes from KWin's own screenshot interface, which answers only a program
// that an installed desktop entry authorizes, and without the entry the one message
// says what is missing. On both the copy shows the screen pixel for pixel, a drag
// selects those pixels, and the panel and the picture show over the copy in the
// compositor's own picture of the screen; on KDE also with the output scaled by 2
// (SCRIMBLE_DESKTOP_SCALE), where X11 programs scale themselves as Qt does under Xft.dpi.
// Nothing of ours is in the copy, there and on sway (run-on-wayland).
#include "AuthorizingEntry.h"
#include "CaptureFixture.h"
#include "PatternWindow.h"
#include "formcom.h"
#include "gazou.h"
#include "platform/KWinScreenshot.h"
#include "platform/PortalScreenGrabber.h"
#include "platform/X11ScreenGrabber.h"
#include "scrimble.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTime>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

const QString EntryName = QStringLiteral("scrimble-kde-capture-test");

// The entry the install writes for the program, here for this test program (and for
// its own screenshots).
struct TestProgramEntry : AuthorizingEntry {
    TestProgramEntry() : AuthorizingEntry(EntryName, QCoreApplication::applicationFilePath()) {}
};

// Screen pixels per window pixel in this run.
int outputScale() { return std::max(1, qEnvironmentVariableIntValue("SCRIMBLE_DESKTOP_SCALE")); }

// Every monitor's.
QSize screenPixels() { return QGuiApplication::primaryScreen()->virtualSize() * outputScale(); }

// The screen as the compositor shows it, through the desktop's screenshot service;
// false with error saying why when there is none.
bool compositorShot(PortalScreenGrabber& compositor, DeviceContext& picture, QString& error)
{
    std::optional<ScreenShot> taken;
    compositor.grab([&](ScreenShot shot) { taken = std::move(shot); });
    if (!QTest::qWaitFor([&] { return taken.has_value(); }, 20000))
        return false;
    error = taken->error;
    if (taken->ok())
        picture = std::move(taken->picture);
    return taken->ok();
}

TEST(DesktopStackCapture, WithoutTheDesktopEntryKWinsMessageSaysWhatIsMissing)
{
    if (!isKWinSession())
        GTEST_SKIP() << "not a KWin session";
    QFile::remove(EntryPath(EntryName));
    RebuildEntryIndex();
    RealPlatformCapture capture;
    const std::unique_ptr<CaptureMode> mode = capture.makeMode();
    EXPECT_EQ(LoadAndWait(*mode, capture.host), ModeOpenResult::NotOpened);
    ASSERT_EQ(capture.dialogs->messages.size(), 1u);
    EXPECT_TRUE(capture.dialogs->messages[0].text.contains(QStringLiteral("X-KDE-DBUS-Restricted-Interfaces")))
        << capture.dialogs->messages[0].text.toStdString();
    EXPECT_FALSE(mode->desktop().isVisible());
}

TEST(DesktopStackCapture, CopyShowsTheScreenAndADragSelectsIt)
{
    const TestProgramEntry entry;
    ASSERT_TRUE(entry.written());
    PatternWindow pattern(screenPixels());
    ASSERT_TRUE(pattern.showAndSettle());
    RealPlatformCapture capture;
    const std::unique_ptr<CaptureMode> mode = capture.makeMode();
    ASSERT_EQ(LoadAndWait(*mode, capture.host), ModeOpenResult::Opened)
        << (capture.dialogs->messages.empty() ? std::string() : capture.dialogs->messages[0].text.toStdString());
    const DeviceContext& copy = mode->model().screen();
    ASSERT_EQ(QSize(copy.width(), copy.height()), screenPixels());
    EXPECT_EQ(DifferingPixels(copy, PatternPixel), 0);

    const int scale = outputScale();
    const QRect dragged(QPoint(100, 75) * scale, QSize(300, 200) * scale);
    MouseDrag(mode->desktop(), QPoint(100, 75), QPoint(400, 275));
    const DeviceContext& shown = mode->model().picture();
    ASSERT_EQ(QSize(shown.width(), shown.height()), dragged.size());
    EXPECT_EQ(DifferingPixels(shown, PatternPixel, dragged.topLeft()), 0);
}

// Nothing of ours is in the copy, however long the desktop took: it is the screen as
// the compositor showed it before the mode started. GNOME's top bar shows the time: a
// minute turning between the two pictures changes its digits, and both are taken again.
TEST(DesktopStackCapture, CopyHoldsNothingOfOurs)
{
    const TestProgramEntry entry;
    PortalScreenGrabber compositor(std::make_unique<X11ScreenGrabber>());
    for (int attempt = 1;; ++attempt) {
        const int minute = QTime::currentTime().minute();
        DeviceContext before;
        QString error;
        ASSERT_TRUE(compositorShot(compositor, before, error)) << error.toStdString();
        RealPlatformCapture capture;
        const std::unique_ptr<CaptureMode> mode = capture.makeMode();
        ASSERT_EQ(LoadAndWait(*mode, capture.host), ModeOpenResult::Opened);
        if (attempt == 1 && QTime::currentTime().minute() != minute)
            continue;
        const DeviceContext& copy = mode->model().screen();
        ASSERT_EQ(QSize(copy.width(), copy.height()), QSize(before.width(), before.height()));
        EXPECT_EQ(DifferingPixels(copy, [&before](int x, int y) { return before.row(y)[x]; }), 0);
        return;
    }
}

// The compositor keeps the copy, which bypasses the window manager, above every window
// it manages; here the copy is the compositor's full-screen window instead, and the
// panel and the picture its transients, which it keeps above.
TEST(DesktopStackCapture, PanelAndPictureShowOverTheCopy)
{
    const TestProgramEntry entry;
    PatternWindow pattern(screenPixels());
    ASSERT_TRUE(pattern.showAndSettle());
    RealPlatformCapture capture;
    const std::unique_ptr<CaptureMode> mode = capture.makeMode();
    ASSERT_EQ(LoadAndWait(*mode, capture.host), ModeOpenResult::Opened);
    // Bypassing the window manager, the pattern would show over every window.
    pattern.hide();
    PortalScreenGrabber compositor(std::make_unique<X11ScreenGrabber>());
    DeviceContext picture;
    QString error;
    const auto takeShot = [&](ScreenPixel& shot) {
        shot = [&picture](int x, int y) { return picture.row(y)[x]; };
        return compositorShot(compositor, picture, error);
    };
    // The X server's pixels are the output's: programs on XWayland scale themselves here.
    EXPECT_TRUE(WindowsShowOverTheCopy(*mode, 1, takeShot)) << error.toStdString();
}

}  // namespace
