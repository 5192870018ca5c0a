// The capture mode in a Wayland session (sway with XWayland, started by
// run-on-wayland): the frozen copy comes through the screenshot portal and must equal
// grim's picture of the same screen pixel for pixel, and a drag on each output must
// select exactly those pixels, also on outputs scaled by 2, where both stay in the
// outputs' pixels. Run with SCRIMBLE_NO_PORTAL set, the portal is absent and the mode
// says so in one message instead of showing a black copy.
#include "CaptureFixture.h"
#include "PatternWindow.h"
#include "gazou.h"
#include "formcom.h"
#include "platform/QtDialogs.h"
#include "scrimble.h"

#include <QFile>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct WaylandCapture : RealPlatformCapture {
    std::unique_ptr<CaptureMode> mode = makeMode();

    // The mode opened over the pattern, which then goes: the copy alone shows it.
    [[nodiscard]] bool openedOverPattern()
    {
        PatternWindow pattern(QGuiApplication::primaryScreen()->size());
        return pattern.showAndSettle() && LoadAndWait(*mode, host) == ModeOpenResult::Opened;
    }
};

// The output's scale in this run (run-on-wayland's SCRIMBLE_WAYLAND_SCALE).
int outputScale() { return std::max(1, qEnvironmentVariableIntValue("SCRIMBLE_WAYLAND_SCALE")); }

// grim's picture of the screen, in the output's own pixels.
QImage grim(const QString& file)
{
    if (QProcess::execute(QStringLiteral("grim"), {file}) != 0)
        return {};
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

ScreenPixel pixelsOf(const QImage& picture)
{
    return [&picture](int x, int y) { return static_cast<std::uint32_t>(picture.pixel(x, y)); };
}

TEST(WaylandCapture, FrozenCopyIsGrimsPictureAndADragSelectsIt)
{
    if (!qEnvironmentVariableIsEmpty("SCRIMBLE_NO_PORTAL"))
        GTEST_SKIP() << "the portal is absent in this run";
    PatternWindow pattern(QGuiApplication::primaryScreen()->size());
    ASSERT_TRUE(pattern.showAndSettle());
    WaylandCapture capture;
    const QImage reference = grim(capture.dir.filePath(QStringLiteral("grim.png")));
    ASSERT_FALSE(reference.isNull()) << "grim took no picture";
    ASSERT_EQ(LoadAndWait(*capture.mode, capture.host), ModeOpenResult::Opened)
        << (capture.dialogs->messages.empty() ? std::string() : capture.dialogs->messages[0].text.toStdString());
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/out.png"))) << "the wlr portal's picture file is left behind";
    const DeviceContext& copy = capture.mode->model().screen();
    ASSERT_EQ(QSize(copy.width(), copy.height()), reference.size());
    EXPECT_EQ(DifferingPixels(copy, pixelsOf(reference)), 0);

    // The pointer moves over the window's pixels; the selection is in the screen's.
    const int scale = outputScale();
    for (const QScreen* output : QGuiApplication::screens()) {
        const QRect dragged(output->geometry().topLeft() + QPoint(100, 75), QSize(300, 200));
        MouseDrag(capture.mode->desktop(), dragged.topLeft(), dragged.topLeft() + QPoint(300, 200));
        const DeviceContext& shown = capture.mode->model().picture();
        ASSERT_EQ(QSize(shown.width(), shown.height()), dragged.size() * scale) << output->name().toStdString();
        EXPECT_EQ(DifferingPixels(shown, pixelsOf(reference), dragged.topLeft() * scale), 0)
            << output->name().toStdString();
    }
}

// The compositor keeps the copy, which bypasses the window manager, above every window
// it manages: the panel and the picture must show over it all the same.
TEST(WaylandCapture, PanelAndPictureShowOverTheCopy)
{
    if (!qEnvironmentVariableIsEmpty("SCRIMBLE_NO_PORTAL"))
        GTEST_SKIP() << "the portal is absent in this run";
    WaylandCapture capture;
    ASSERT_TRUE(capture.openedOverPattern());
    QImage picture;
    const auto takeShot = [&](ScreenPixel& shot) {
        picture = grim(capture.dir.filePath(QStringLiteral("during.png")));
        shot = pixelsOf(picture);
        return !picture.isNull();
    };
    EXPECT_TRUE(WindowsShowOverTheCopy(*capture.mode, outputScale(), takeShot));
}

// A dialog of the panel's (the save's file dialog) shows over the copy too.
TEST(WaylandCapture, TheSavesDialogShowsOverTheCopy)
{
    if (!qEnvironmentVariableIsEmpty("SCRIMBLE_NO_PORTAL"))
        GTEST_SKIP() << "the portal is absent in this run";
    WaylandCapture capture;
    ASSERT_TRUE(capture.openedOverPattern());
    bool shown = false;
    QTimer::singleShot(1500, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        const QImage picture = grim(capture.dir.filePath(QStringLiteral("dialog.png")));
        if (dialog && !picture.isNull())
            shown = ShownOverTheCopy(*dialog, outputScale(), pixelsOf(picture), capture.mode->model().screen());
        if (dialog)
            dialog->close();
    });
    QtDialogs dialogs;
    static_cast<void>(dialogs.saveFile(
        &capture.mode->panel(), SaveFileRequest{QStringLiteral("名前を付けて保存"), QStringLiteral("PNG (*.png)|*.png"),
                                                1, QString(), QStringLiteral("png"), true}));
    EXPECT_TRUE(shown);
}

TEST(WaylandCapture, WithoutThePortalOneMessageAndNoCopy)
{
    if (qEnvironmentVariableIsEmpty("SCRIMBLE_NO_PORTAL"))
        GTEST_SKIP() << "the portal runs in this run";
    WaylandCapture capture;
    EXPECT_EQ(LoadAndWait(*capture.mode, capture.host), ModeOpenResult::NotOpened);
    ASSERT_EQ(capture.dialogs->messages.size(), 1u);
    EXPECT_TRUE(capture.dialogs->messages[0].text.contains(QStringLiteral("ポータル")))
        << capture.dialogs->messages[0].text.toStdString();
    EXPECT_FALSE(capture.mode->desktop().isVisible());
}

}  // namespace
