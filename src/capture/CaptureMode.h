#pragma once
// The desktop capture mode while it is open: owns its windows (the desktop copy, the
// picture window, the command panel) and the capture selection, and
// runs the steps that involve more than one window. The output options belong to the
// application (they outlive the mode) and are handed in by reference.

#include "CaptureSelection.h"
#include "OutputOptions.h"
#include "RenderPicture.h"
#include "app/ModeHost.h"
#include "imaging/dibimage.h"
#include "platform/Platform.h"

#include <QObject>

#include <memory>

class Settings;
class formcom;
class gazou;
class scrimble;

// Whether a committed selection records its handles as the press-test grid.
enum class HandleGrid : bool { Keep = false, Record = true };

// The windows of the mode that the function keys move between.
enum class ModeWindow { Desktop, Panel, Picture };

class CaptureMode final : public QObject, public OpenMode
{
    Q_OBJECT
public:
    CaptureMode(Platform& platform, const Settings& settings, ModeHost& host, OutputOptions& options);
    ~CaptureMode() override;

    // The desktop copy's load: copies the screen, shows the copy and the panel.
    [[nodiscard]] ModeOpenResult load();

    [[nodiscard]] Platform& platform() { return m_platform; }
    [[nodiscard]] const Settings& settings() const { return m_settings; }
    [[nodiscard]] ModeHost& host() { return m_host; }
    [[nodiscard]] OutputOptions& options() { return m_options; }
    [[nodiscard]] CaptureSelection& selection() { return m_selection; }
    [[nodiscard]] scrimble& desktop() { return *m_desktop; }
    [[nodiscard]] gazou& picture() { return *m_picture; }
    // Exists from the desktop copy's load on.
    [[nodiscard]] formcom& panel() { return *m_panel; }

    void loadPanel();
    // Bring a window to the front with the keyboard focus; the panel stays above.
    void showDesktop();
    void showPanel();
    void showPicture();
    // The panel is topmost: a window manager keeps it so, and without one it is
    // raised again whenever another window of the mode comes up.
    void keepPanelOnTop();
    // F1 desktop copy, F2 panel, F3 picture window, F5 options, each from the other
    // windows only; every other key, and a window's own key, does nothing.
    void functionKey(int keyCode, ModeWindow from);

    // The picture refresh's window steps: the picture window shown at ViewWidth x
    // ViewHeight and emptied, and the panel shown. (The buffer F exists only while
    // RenderPicture runs.)
    void prepareWindows();
    // The picture refresh's image steps from (sourceX, sourceY) of the desktop copy.
    void renderPicture(int sourceX, int sourceY, GreyStep grey);
    // After Shape1 and the selection sizes are set: prepares the windows, shows the
    // handles around Shape1 and renders the picture from Shape1's rounded corner.
    void commitSelection(GreyStep grey, HandleGrid grid);

    // Tells the user why the screen could not be copied.
    void reportGrabFailure();
    // Hides every window of the mode on the way back to the chooser.
    void unloadWindows();

signals:
    void optionsRequested();

private:
    Platform& m_platform;
    const Settings& m_settings;
    ModeHost& m_host;
    OutputOptions& m_options;
    CaptureSelection m_selection;
    std::unique_ptr<gazou> m_picture;
    std::unique_ptr<scrimble> m_desktop;
    std::unique_ptr<formcom> m_panel;
};
