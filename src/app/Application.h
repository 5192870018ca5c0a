#pragma once
// The program's one owner object, built by main: the platform services, the
// application folder, Set.ini and every window. The chooser and the open mode reach
// it through ModeHost; state that must outlive a mode (kept across a return to the
// chooser) is a member here and is handed to the mode by reference.

#include "CommandLine.h"
#include "SelectMode.h"
#include "capture/CaptureSelection.h"
#include "capture/OutputOptions.h"
#include "platform/Platform.h"
#include "shared/ModeHost.h"
#include "shared/Settings.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class Application final : public ModeHost
{
public:
    // applicationFolder ends in "/"; settingsPath is the Set.ini to read and write.
    Application(Platform platform, QString applicationFolder, const QString& settingsPath);
    Application(Platform platform, QString applicationFolder, Settings settings);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // For main: the folders of the program file at executableFolder (the file
    // system's bytes), and this machine's Set.ini (beside the program, or the XDG
    // fallback).
    [[nodiscard]] static std::unique_ptr<Application> forExecutable(Platform platform,
                                                                    const QByteArray& executableFolder);

    // Creates the chooser and runs its load: it shows itself or opens the stored mode.
    // A mode named on the command line opens directly instead (the stored default
    // stays); when it cannot open, the chooser comes.
    void start(StartMode mode = StartMode::Chooser);

    [[nodiscard]] Platform& platform() { return m_platform; }
    [[nodiscard]] const QString& applicationFolder() const { return m_applicationFolder; }
    [[nodiscard]] const Settings& settings() const { return m_settings; }
    // The chooser while it exists (shown or not), else nullptr.
    [[nodiscard]] SelectMode* modeChooser() const { return m_chooser.data(); }
    [[nodiscard]] bool hasOpenMode() const { return m_openMode != nullptr; }
    // The mode that is open, else nullptr; for reading its state in tests.
    [[nodiscard]] const OpenMode* openMode() const { return m_openMode.get(); }
    // The desktop capture mode's selection variables and output options; they live
    // for the whole run.
    [[nodiscard]] CaptureSelection& captureSelection() { return m_captureSelection; }
    [[nodiscard]] OutputOptions& outputOptions() { return m_outputOptions; }

    ModeOpenResult openDesktopCapture() override;
    ModeOpenResult openPrintScreenSave() override;
    void returnToModeChooser() override;
    void endProgram() override;

private:
    // Takes ownership of a mode whose first window has loaded.
    ModeOpenResult adoptMode(std::unique_ptr<OpenMode> mode);
    void showModeChooser();

    Platform m_platform;
    QString m_applicationFolder;
    Settings m_settings;
    CaptureSelection m_captureSelection;
    OutputOptions m_outputOptions;
    QPointer<SelectMode> m_chooser;
    std::unique_ptr<OpenMode> m_openMode;
    // A mode that returned to the chooser; deleted once its handler has returned.
    std::unique_ptr<OpenMode> m_closingMode;
    bool m_ending = false;
    // Context of the deferred steps above, so that none runs after the Application is gone.
    QObject m_context;
};
