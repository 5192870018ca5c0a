#include "ModeExit.h"

#include "ModeHost.h"
#include "Settings.h"

ModeExit::ModeExit(ModeHost& host, const Settings& settings) : m_host(host), m_settings(settings) {}

void ModeExit::returnToChooser(const std::function<bool()>& closeWindows)
{
    m_returningToChooser = true;
    if (!closeWindows()) {
        m_returningToChooser = false;
        return;
    }
    m_settings.writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("0"));
    m_host.returnToModeChooser();
}

void ModeExit::mainWindowClosed()
{
    if (!m_returningToChooser)
        m_host.endProgram();
}
