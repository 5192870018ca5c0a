#pragma once
// One desktop capture mode on a fake screen of known pixels, with a Set.ini in a
// temporary folder and a host that records what the mode asked of it. A fresh
// fixture per test.

#include "CaptureMode.h"
#include "OutputOptions.h"
#include "RecordingHost.h"
#include "ScriptedDialogs.h"
#include "TestPlatform.h"
#include "shared/Settings.h"

#include <QApplication>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QTemporaryDir>

#include <functional>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>

class QLineEdit;
class QPushButton;
class QWidget;
class formcom;
class gazou;
class scrimble;

// The mode on the desktop's real platform (screen, clipboard, stacking), with a lock
// and dialogs of the test's.
// The mode's load and, where the desktop hands the screen over later, the wait for it:
// Opened once the copy shows, NotOpened once the mode went back to the chooser.
[[nodiscard]] ModeOpenResult LoadAndWait(CaptureMode& mode, const RecordingHost& host);

struct RealPlatformCapture {
    QTemporaryDir dir;
    Platform platform = makeDesktopPlatform();
    ScriptedDialogs* dialogs = nullptr;  // owned by platform
    Settings settings{dir.filePath(QStringLiteral("Set.ini"))};
    RecordingHost host;
    CaptureSelection selection;
    OutputOptions options;

    RealPlatformCapture();
    [[nodiscard]] std::unique_ptr<CaptureMode> makeMode();
};

// The fake screen's pixel at (x, y): every pixel of a row differs, and the screen
// holds far more than 256 colours.
[[nodiscard]] std::uint32_t PatternPixel(int x, int y);

// A picture of the screen: the pixel at (x, y), in the screen's pixels.
using ScreenPixel = std::function<std::uint32_t(int x, int y)>;

// How many of picture's pixels differ in colour from the screen's, picture's top-left
// pixel standing for the screen's at origin.
[[nodiscard]] int DifferingPixels(const DeviceContext& picture, const ScreenPixel& screen, QPoint origin = {});

// Every field equal.
[[nodiscard]] bool SameOptions(const OutputOptions& a, const OutputOptions& b);

// Options with every field away from its mode-start value.
[[nodiscard]] OutputOptions UnusualOptions();

class CaptureFixture
{
public:
    CaptureFixture();

    [[nodiscard]] ModeOpenResult load();
    [[nodiscard]] scrimble& desktop() { return mode->desktop(); }
    [[nodiscard]] gazou& picture() { return mode->picture(); }
    [[nodiscard]] formcom& panel() { return mode->panel(); }
    [[nodiscard]] const CaptureModel& model() const { return mode->model(); }
    [[nodiscard]] QLineEdit& field(const char* name);
    // Types each (field, text) into the panel in turn, committing each.
    [[nodiscard]] bool type(std::initializer_list<std::pair<const char*, const char*>> typed);

    TestPlatform test;
    QTemporaryDir dir;
    Settings settings;
    RecordingHost host;
    CaptureSelection selection;
    OutputOptions options;
    std::unique_ptr<CaptureMode> mode;
};

// Mouse input as the window system delivers it: the button stays held from the
// press through every move to the release. Points in the widget's pixels.
void MousePress(QWidget& widget, QPointF point);
void MouseMove(QWidget& widget, QPointF point);
void MouseRelease(QWidget& widget, QPointF point);
void MouseDrag(QWidget& widget, QPointF from, QPointF to);

// The top-level window of that class (the About box, the options window) once the
// mode has made it, else nullptr.
template<typename Window>
[[nodiscard]] Window* TopLevel()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Window*>(window))
            return found;
    return nullptr;
}

// Whether the compositor's picture of the screen (takeShot sets its pixel function, in
// the copy's pixels, scale of them per X pixel) shows the panel, and the picture window
// while it is mapped, over the desktop copy, after each step that shows the copy anew:
// a drag, a new capture, minimising and restoring the copy. A window counts as shown
// where most of its pixels differ from the copy's; the copy must show everywhere else,
// on every monitor.
[[nodiscard]] bool WindowsShowOverTheCopy(CaptureMode& mode, int scale,
                                          const std::function<bool(ScreenPixel&)>& takeShot);
// Whether most of window's pixels in the shot differ from the copy's.
[[nodiscard]] bool ShownOverTheCopy(const QWidget& window, int scale, const ScreenPixel& shot,
                                    const DeviceContext& copy);

// The panel's button of that name, found as the user sees it.
[[nodiscard]] QPushButton* PanelButton(formcom& panel, const char* name);

// Types text into a field of the active panel and moves the focus on with Tab,
// which commits the field. false when the panel could not be made active.
[[nodiscard]] bool TypeAndCommit(formcom& panel, QLineEdit& field, const QString& text);
