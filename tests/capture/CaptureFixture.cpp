#include "CaptureFixture.h"

#include "FakeInstanceLock.h"
#include "X11Desktop.h"

#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <tuple>

std::uint32_t PatternPixel(int x, int y)
{
    const auto red = static_cast<std::uint32_t>((x * 7 + y * 3) & 0xFF);
    const auto green = static_cast<std::uint32_t>((x ^ (y * 5)) & 0xFF);
    const auto blue = static_cast<std::uint32_t>((x / 4 + y * 11) & 0xFF);
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

int DifferingPixels(const DeviceContext& picture, const ScreenPixel& screen, QPoint origin)
{
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            differing += (picture.row(y)[x] & 0xFFFFFFu) != (screen(origin.x() + x, origin.y() + y) & 0xFFFFFFu);
    return differing;
}

bool SameOptions(const OutputOptions& a, const OutputOptions& b)
{
    const auto fields = [](const OutputOptions& o) {
        return std::tuple(o.BitDepth, o.RleCompress, o.BoxSplitMethod, o.BoxColorMethod, o.PaletteMatchMethod,
                          o.JpegQuality, o.JpegProgressive, o.PngDetailed, o.PngCompression, o.PngGamma, o.PngFilters,
                          o.PngInterlace, o.ColorMode, o.GrayStrength);
    };
    return fields(a) == fields(b);
}

OutputOptions UnusualOptions()
{
    return {ColorDepth::Bits8, -1, 1, 2, 2, 90, -1, 1, 3, 100000, {1, 1, 1, 1}, 1, 1, 200};
}

CaptureFixture::CaptureFixture() : test(makeTestPlatform()), settings(dir.filePath(QStringLiteral("Set.ini")))
{
    DeviceContext& screen = test.screen->screen;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            screen.row(y)[x] = PatternPixel(x, y);
    mode = std::make_unique<CaptureMode>(test.platform, settings, host, selection, options);
}

ModeOpenResult LoadAndWait(CaptureMode& mode, const RecordingHost& host)
{
    const ModeOpenResult result = mode.load();
    if (result != ModeOpenResult::Opened)
        return result;
    static_cast<void>(QTest::qWaitFor([&] { return mode.desktop().isVisible() || host.chooserRequests > 0; }, 30000));
    return mode.desktop().isVisible() ? ModeOpenResult::Opened : ModeOpenResult::NotOpened;
}

ModeOpenResult CaptureFixture::load() { return mode->load(); }

QLineEdit& CaptureFixture::field(const char* name) { return *panel().findChild<QLineEdit*>(QString::fromLatin1(name)); }

bool CaptureFixture::type(std::initializer_list<std::pair<const char*, const char*>> typed)
{
    for (const auto& [name, text] : typed)
        if (!TypeAndCommit(panel(), field(name), QString::fromUtf8(text)))
            return false;
    return true;
}

namespace {

void sendMouse(QWidget& widget, QEvent::Type type, QPointF point, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, point, widget.mapToGlobal(point), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace

void MousePress(QWidget& widget, QPointF point)
{
    sendMouse(widget, QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton);
}

void MouseMove(QWidget& widget, QPointF point)
{
    sendMouse(widget, QEvent::MouseMove, point, Qt::NoButton, Qt::LeftButton);
}

void MouseRelease(QWidget& widget, QPointF point)
{
    sendMouse(widget, QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton);
}

void MouseDrag(QWidget& widget, QPointF from, QPointF to)
{
    MousePress(widget, from);
    MouseMove(widget, (from + to) / 2);
    MouseMove(widget, to);
    MouseRelease(widget, to);
}

bool ShownOverTheCopy(const QWidget& window, int scale, const ScreenPixel& shot, const DeviceContext& copy)
{
    const QRect x11 = X11Desktop::geometry(window);
    const QRect area = QRect(x11.topLeft() * scale, x11.size() * scale) & QRect(0, 0, copy.width(), copy.height());
    std::int64_t changed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            changed += (shot(x, y) & 0xFFFFFFu) != (copy.row(y)[x] & 0xFFFFFFu);
    if (2 * changed > std::int64_t{area.width()} * area.height())
        return true;
    qWarning("%s: %lld of %d x %d pixels changed", qPrintable(window.windowTitle()), static_cast<long long>(changed),
             area.width(), area.height());
    return false;
}

namespace {

// Whether the copy covers the root window, and the shot shows it on nearly every pixel
// of a sparse grid over the whole screen, every monitor's, outside the windows in
// front of it (and whatever the desktop shows over everything, a notification say).
bool CopyShownAroundTheWindows(CaptureMode& mode, int scale, const ScreenPixel& shot)
{
    if (X11Desktop::geometry(mode.desktop()) != X11Desktop::rootRect()) {
        qWarning("the copy does not cover the screen");
        return false;
    }
    const DeviceContext& copy = mode.model().screen();
    std::vector<QRect> inFront;
    for (const QWidget* window : {static_cast<QWidget*>(&mode.panel()), static_cast<QWidget*>(&mode.picture())})
        if (X11Desktop::isViewable(*window)) {
            // With the title bar and the shadow the desktop draws around it.
            const int margin = static_cast<int>(64 * window->devicePixelRatio());
            const QRect x11 = X11Desktop::geometry(*window).adjusted(-margin, -margin, margin, margin);
            inFront.emplace_back(x11.topLeft() * scale, x11.size() * scale);
        }
    int sampled = 0;
    int differing = 0;
    for (int y = 5; y < copy.height(); y += 37)
        for (int x = 5; x < copy.width(); x += 41) {
            if (std::any_of(inFront.begin(), inFront.end(), [&](const QRect& r) { return r.contains(x, y); }))
                continue;
            ++sampled;
            differing += (shot(x, y) & 0xFFFFFFu) != (copy.row(y)[x] & 0xFFFFFFu);
        }
    if (differing * 20 <= sampled)
        return true;
    qWarning("the copy: %d of %d sampled pixels differ", differing, sampled);
    return false;
}

}  // namespace

bool WindowsShowOverTheCopy(CaptureMode& mode, int scale, const std::function<bool(ScreenPixel&)>& takeShot)
{
    const std::vector<std::pair<const char*, std::function<void()>>> steps{
        {"a drag", [&] { MouseDrag(mode.desktop(), QPointF(100, 75), QPointF(400, 275)); }},
        {"a new capture",
         [&] {
             PanelButton(mode.panel(), "Command3")->click();
             PanelButton(mode.panel(), "Command3")->click();
             static_cast<void>(
                 QTest::qWaitFor([&] { return mode.desktop().isVisible() && mode.panel().isVisible(); }, 5000));
         }},
        {"minimising and restoring the copy",
         [&] {
             PanelButton(mode.panel(), "Command10")->click();
             PanelButton(mode.panel(), "Command10")->click();
         }},
    };
    for (const auto& [name, step] : steps) {
        step();
        if (!QTest::qWaitFor([&] { return X11Desktop::isViewable(mode.panel()); }, 5000))
            return false;
        QTest::qWait(1000);
        ScreenPixel shot;
        if (!takeShot(shot))
            return false;
        const DeviceContext& copy = mode.model().screen();
        const bool panelShown = ShownOverTheCopy(mode.panel(), scale, shot, copy);
        const bool pictureShown =
            !X11Desktop::isViewable(mode.picture()) || ShownOverTheCopy(mode.picture(), scale, shot, copy);
        if (!panelShown || !pictureShown || !CopyShownAroundTheWindows(mode, scale, shot)) {
            qWarning("not in front after %s", name);
            return false;
        }
    }
    return true;
}

QPushButton* PanelButton(formcom& panel, const char* name)
{
    return panel.findChild<QPushButton*>(QString::fromLatin1(name));
}

bool TypeAndCommit(formcom& panel, QLineEdit& field, const QString& text)
{
    panel.activateWindow();
    if (!QTest::qWaitFor([&] { return panel.isActiveWindow(); }, 5000))
        return false;
    field.setFocus(Qt::OtherFocusReason);
    field.selectAll();
    QTest::keyClicks(&field, text);
    QTest::keyClick(&field, Qt::Key_Tab);
    return QTest::qWaitFor([&] { return !field.hasFocus(); }, 5000);
}

RealPlatformCapture::RealPlatformCapture()
{
    platform.instanceLock = std::make_unique<FakeInstanceLock>();
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    platform.dialogs = std::move(scripted);
}

std::unique_ptr<CaptureMode> RealPlatformCapture::makeMode()
{
    return std::make_unique<CaptureMode>(platform, settings, host, selection, options);
}
