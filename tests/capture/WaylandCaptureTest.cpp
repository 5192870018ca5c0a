// The capture mode in a Wayland session (sway with XWayland, started by
// run-on-wayland): the frozen copy comes through the screenshot portal and must equal
// grim's picture of the same screen pixel for pixel, and a drag must select exactly
// those pixels. Run with SCRIMBLE_NO_PORTAL set, the portal is absent and the mode
// says so in one message instead of showing a black copy.
#include "CaptureFixture.h"
#include "FakeInstanceLock.h"
#include "PatternWindow.h"
#include "ScriptedDialogs.h"
#include "gazou.h"
#include "scrimble.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct WaylandCapture {
    QTemporaryDir dir;
    Platform platform = makeDesktopPlatform();
    ScriptedDialogs* dialogs = nullptr;
    Settings settings{dir.filePath(QStringLiteral("Set.ini"))};
    RecordingHost host;
    CaptureSelection selection;
    OutputOptions options;
    std::unique_ptr<CaptureMode> mode;

    WaylandCapture()
    {
        platform.instanceLock = std::make_unique<FakeInstanceLock>();
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        platform.dialogs = std::move(scripted);
        mode = std::make_unique<CaptureMode>(platform, settings, host, selection, options);
    }
};

// The output's scale in this run (run-on-wayland's SCRIMBLE_WAYLAND_SCALE).
int outputScale()
{
    return std::max(1, qEnvironmentVariableIntValue("SCRIMBLE_WAYLAND_SCALE"));
}

// grim's picture of the screen in logical pixels, the X screen's (grim brings a HiDPI
// output down to scale 1).
QImage grim(const QString& file)
{
    if (QProcess::execute(QStringLiteral("grim"), {QStringLiteral("-s"), QStringLiteral("1"), file}) != 0)
        return {};
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

// How far the copy is from the reference: the pixels that differ at scale 1; on a
// scaled output, where two programs bring the picture down each their own way, the
// mean difference per channel, which must stay small.
double distance(const DeviceContext& copy, const QImage& reference, QPoint origin, QSize size)
{
    double sum = 0;
    int differing = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb ours = copy.row(y)[x];
            const QRgb theirs = reference.pixel(origin.x() + x, origin.y() + y);
            sum += std::abs(qRed(ours) - qRed(theirs)) + std::abs(qGreen(ours) - qGreen(theirs))
                   + std::abs(qBlue(ours) - qBlue(theirs));
            differing += (ours & 0xFFFFFFu) != (theirs & 0xFFFFFFu);
        }
    }
    return outputScale() == 1 ? differing : sum / (3.0 * size.width() * size.height());
}

// Exactly equal at scale 1; within a few levels on average on a scaled output.
constexpr double MeanLevelsOnAScaledOutput = 6.0;

TEST(WaylandCapture, FrozenCopyIsGrimsPictureAndADragSelectsIt)
{
    if (!qEnvironmentVariableIsEmpty("SCRIMBLE_NO_PORTAL"))
        GTEST_SKIP() << "the portal is absent in this run";
    const QSize screenSize = QGuiApplication::primaryScreen()->size();
    PatternWindow pattern(screenSize);
    pattern.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pattern));
    QTest::qWait(500);
    WaylandCapture capture;
    const QImage reference = grim(capture.dir.filePath(QStringLiteral("grim.png")));
    ASSERT_FALSE(reference.isNull()) << "grim took no picture";
    ASSERT_EQ(capture.mode->load(), ModeOpenResult::Opened)
        << (capture.dialogs->messages.empty() ? std::string() : capture.dialogs->messages[0].text.toStdString());
    const DeviceContext& copy = capture.mode->desktop().surface();
    ASSERT_EQ(QSize(copy.width(), copy.height()), reference.size());
    const double limit = outputScale() == 1 ? 0.0 : MeanLevelsOnAScaledOutput;
    EXPECT_LE(distance(copy, reference, {}, reference.size()), limit);

    const QRect selected(100, 75, 300, 200);
    MouseDrag(capture.mode->desktop(), selected.topLeft(), selected.topLeft() + QPoint(300, 200));
    const DeviceContext& shown = capture.mode->picture().surface();
    ASSERT_EQ(QSize(shown.width(), shown.height()), selected.size());
    EXPECT_LE(distance(shown, reference, selected.topLeft(), selected.size()), limit);
}

TEST(WaylandCapture, WithoutThePortalOneMessageAndNoCopy)
{
    if (qEnvironmentVariableIsEmpty("SCRIMBLE_NO_PORTAL"))
        GTEST_SKIP() << "the portal runs in this run";
    WaylandCapture capture;
    EXPECT_EQ(capture.mode->load(), ModeOpenResult::NotOpened);
    ASSERT_EQ(capture.dialogs->messages.size(), 1u);
    EXPECT_TRUE(capture.dialogs->messages[0].text.contains(QStringLiteral("ポータル")))
        << capture.dialogs->messages[0].text.toStdString();
    EXPECT_FALSE(capture.mode->desktop().isVisible());
}

}  // namespace
