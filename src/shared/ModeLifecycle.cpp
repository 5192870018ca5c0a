#include "ModeLifecycle.h"

#include "ModeHost.h"
#include "Settings.h"

#include <QWidget>

ModeLifecycle::ModeLifecycle(ModeHost& host, const Settings& settings) : m_host(host), m_settings(settings) {}

void ModeLifecycle::setMainWindow(QWidget& window) { m_mainWindow = &window; }

void ModeLifecycle::addWindow(QWidget& window, Unload unload) { m_windows.push_back({&window, unload}); }

void ModeLifecycle::addFunctionKey(int key, const QWidget* own, std::function<void()> show)
{
    m_keys.push_back({key, own, std::move(show)});
}

void ModeLifecycle::functionKey(int key, const QWidget& from) const
{
    for (const FunctionKey& binding : m_keys)
        if (binding.key == key && binding.own != &from) {
            binding.show();
            return;
        }
}

void ModeLifecycle::showInFront(QWidget& window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    emit shownInFront();
}

void ModeLifecycle::returnToChooser()
{
    emit unloading();
    for (const ModeWindow& each : m_windows)
        if (each.unload == Unload::Close)
            each.window->close();
        else
            each.window->hide();
    m_returningToChooser = true;
    if (m_mainWindow && !m_mainWindow->close()) {
        m_returningToChooser = false;
        return;
    }
    m_settings.writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("0"));
    m_host.returnToModeChooser();
}

void ModeLifecycle::mainWindowClosed()
{
    if (!m_returningToChooser)
        m_host.endProgram();
}
