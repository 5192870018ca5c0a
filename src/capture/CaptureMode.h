#pragma once
// The desktop capture mode while it is open: owns its model (the frozen screen, the
// selection, the picture), the one way of taking the screen into it, and its windows
// (the desktop copy, the picture window, the command panel), which paint what the
// model holds. It runs every step that changes the model or involves more than one
// window. The windows know nothing of each other or of this object: they report the
// user's actions as signals, which the constructor connects to the steps here.
//
// A new window (the options window, the About box) plugs in the same way: the mode
// owns it, hands it the state it edits by reference, connects its signals to steps
// here, and the steps that show, hide or refresh other windows stay here.
//
// The capture selection and the output options belong to the application (they
// outlive the mode) and are handed in by reference.

#include "CaptureModel.h"
#include "CaptureSelection.h"
#include "ImageOutput.h"
#include "OutputOptions.h"
#include "RenderPicture.h"
#include "platform/Platform.h"
#include "shared/ModeLifecycle.h"
#include "shared/ModeHost.h"

#include <QObject>

#include <memory>

class Opt;
class ScreenAcquisition;
class Settings;
class frmAbout;
class formcom;
class gazou;
class scrimble;

// Whether a committed selection records its handles as the press-test grid.
enum class HandleGrid : bool { Keep = false, Record = true };

class CaptureMode final : public QObject, public OpenMode
{
    Q_OBJECT
public:
    CaptureMode(Platform& platform, const Settings& settings, ModeHost& host, CaptureSelection& selection,
                OutputOptions& options);
    ~CaptureMode() override;

    // The desktop copy's load. ProgramEnding: another instance runs, nothing has been
    // shown. NotOpened: the screen could not be read (the user has been told why).
    // Opened: the copy and the panel are up, or the mode waits for the desktop to hand
    // the screen over (with a window that says so once it takes more than a moment); a
    // failure then tells the user and goes back to the chooser, as does the wait's cancel.
    [[nodiscard]] ModeOpenResult load();

    // For reading the mode's state in tests.
    [[nodiscard]] const CaptureSelection& selection() const { return m_selection; }
    [[nodiscard]] const CaptureModel& model() const { return m_model; }
    [[nodiscard]] ScreenAcquisition& screenAcquisition() { return *m_acquisition; }
    [[nodiscard]] scrimble& desktop() { return *m_desktop; }
    [[nodiscard]] gazou& picture() { return *m_picture; }
    // Exists from the desktop copy's load on.
    [[nodiscard]] formcom& panel() { return *m_panel; }

private:
    void connectDesktop();
    void connectPicture();
    void loadPanel();
    // F1 desktop copy, F2 panel, F3 picture window, F5 options, each from the other
    // windows only.
    void addFunctionKeys();

    // Bring a window to the front with the keyboard focus; the panel stays above.
    void showDesktop();
    void showPanel();
    void showPicture();
    // The panel is topmost: a window manager keeps it so, and without one it is
    // raised again whenever another window of the mode comes up. The panel and the
    // picture window stay in front of the desktop copy.
    void keepWindowsInFront();
    void placeDesktopBehindWindows();
    // A window that stays in front of the desktop copy, before it is first shown.
    void keepInFront(QWidget& window);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The options window, made at its first use and loaded anew after each unload.
    void showOptions();
    // Opt's refresh: Update, with the options window kept in front.
    void refreshFromOptions();

    // The mouse on the desktop copy: a press hides the handles, and the picture window
    // when it starts a new outline; the release commits the outline and shows its
    // corners.
    void pressSelection(double x, double y);
    void moveSelection(double x, double y);
    void releaseSelection();
    // Shape1 as Update, Select all and Clear set it; the handles follow it.
    void setShape(const ShapeRect& shape);
    void setHandlesVisible(bool visible);
    // The panel's commands.
    void updateSelection();
    void selectAll();
    void clearImage();
    void takeImage(int intervalMs);
    // The windows back after the new capture, which was made (grabbed) or not, or
    // given up.
    void finishTakeImage(bool grabbed);
    void showWindowsAgain();
    void toggleDesktop();
    // Save: Update, the selection check, the source image by ColorMode, the file-save
    // dialog and the encoder; the picture window and the panel are shown again.
    void save();
    [[nodiscard]] SaveSource sourceOfSave(const ShapeRect& shape) const;
    void writeSave(const SaveSource& source, const SaveFileAnswer& answer);
    // The picture window's image onto the clipboard.
    void copyToClipboard();
    void reportSaveError(const QString& text);
    // The About box, made at its first use and loaded anew each time it appears.
    void showAbout();

    // The picture refresh's window steps: the picture emptied at ViewWidth x
    // ViewHeight, its window shown at that size, and the panel shown. (The buffer F
    // exists only while RenderPicture runs.)
    void prepareWindows();
    // After Shape1 and the selection sizes are set: prepares the windows, shows the
    // handles around Shape1 and renders the picture from Shape1's rounded corner.
    void commitSelection(GreyStep grey, HandleGrid grid);

    // The desktop copy's first screen taken (grabbed) or not: the copy and the panel
    // come up, or the user is told why.
    void screenTaken(bool grabbed);
    void openWindows();
    [[nodiscard]] ModeOpenResult reportLockProblem();
    // Tells the user why the screen could not be copied.
    void reportGrabFailure();
    // The screen's size and depth, in a message over the window that asked.
    void showScreenInformation(QWidget& over);

    Platform& m_platform;
    const Settings& m_settings;
    ModeHost& m_host;  // also before the mode has opened: the wait's cancel
    ModeLifecycle m_lifecycle;
    CaptureSelection& m_selection;
    OutputOptions& m_options;
    CaptureModel m_model;
    std::unique_ptr<ScreenAcquisition> m_acquisition;
    std::unique_ptr<gazou> m_picture;
    std::unique_ptr<scrimble> m_desktop;
    std::unique_ptr<formcom> m_panel;
    std::unique_ptr<frmAbout> m_about;
    std::unique_ptr<Opt> m_optionsWindow;
    SaveDialogMemory m_saveDialog;
    bool m_loading = false;  // within load(): the screen's answer is load()'s result
    ModeOpenResult m_loadResult = ModeOpenResult::NotOpened;
};
