#include "Application.h"

#include "platform/FileNameText.h"
#include "platform/MemoryReuse.h"
#include "shared/ApplicationFolder.h"
#include "SelectMode.h"
#include "autosave/AutoSaveMode.h"
#include "capture/CaptureMode.h"

#include <QCoreApplication>
#include <QTimer>

Application::Application(Platform platform, QString applicationFolder, const QString& settingsPath)
    : Application(std::move(platform), std::move(applicationFolder), Settings(settingsPath))
{}

Application::Application(Platform platform, QString applicationFolder, Settings settings)
    : m_platform(std::move(platform))
    , m_applicationFolder(std::move(applicationFolder))
    , m_settings(std::move(settings))
{}

Application::~Application() { delete m_chooser.data(); }

std::unique_ptr<Application> Application::forExecutable(Platform platform, const QByteArray& executableFolder)
{
    const QByteArray folder = ApplicationFolder::fromExecutableFolder(executableFolder);
    return std::make_unique<Application>(std::move(platform), FileNameText::decode(folder),
                                         Settings(ApplicationFolder::settingsPath(folder)));
}

void Application::start(StartMode mode)
{
    ModeOpenResult opened = ModeOpenResult::NotOpened;
    if (mode == StartMode::Capture)
        opened = openDesktopCapture();
    else if (mode == StartMode::AutoSave)
        opened = openPrintScreenSave();
    if (opened == ModeOpenResult::NotOpened)
        showModeChooser();
}

void Application::showModeChooser()
{
    if (m_ending || m_chooser)
        return;
    auto* chooser = new SelectMode(*this, m_settings);
    m_chooser = chooser;
    chooser->load();
}

ModeOpenResult Application::openDesktopCapture()
{
    auto mode = std::make_unique<CaptureMode>(m_platform, m_settings, *this, m_captureSelection, m_outputOptions);
    const ModeOpenResult result = mode->load();
    if (result == ModeOpenResult::ProgramEnding)
        endProgram();
    if (result != ModeOpenResult::Opened)
        return result;
    return adoptMode(std::move(mode));
}

ModeOpenResult Application::openPrintScreenSave()
{
    auto mode = std::make_unique<AutoSaveMode>(m_platform, m_settings, *this, m_applicationFolder);
    if (const ModeOpenResult result = mode->load(); result != ModeOpenResult::Opened)
        return result;
    return adoptMode(std::move(mode));
}

ModeOpenResult Application::adoptMode(std::unique_ptr<OpenMode> mode)
{
    if (m_ending)
        return ModeOpenResult::ProgramEnding;
    m_openMode = std::move(mode);
    return ModeOpenResult::Opened;
}

void Application::returnToModeChooser()
{
    m_closingMode = std::move(m_openMode);
    QTimer::singleShot(0, &m_context, [this] {
        m_closingMode.reset();
        // The chooser may stay up for long: the mode's images are not kept for it.
        returnFreedMemory();
        showModeChooser();
    });
}

void Application::endProgram()
{
    m_ending = true;
    QTimer::singleShot(0, &m_context, [] { QCoreApplication::exit(0); });
}
