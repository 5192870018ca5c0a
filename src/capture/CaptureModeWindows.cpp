// The capture mode's window steps: which window shows, in front of which, and the
// windows made at their first use.
#include "CaptureMode.h"

#include "Opt.h"
#include "ScreenInformation.h"
#include "about/frmAbout.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

#include <QEvent>
#include <QWindow>

void CaptureMode::addFunctionKeys()
{
    m_lifecycle.addFunctionKey(Qt::Key_F1, m_desktop.get(), [this] { showDesktop(); });
    m_lifecycle.addFunctionKey(Qt::Key_F2, m_panel.get(), [this] { showPanel(); });
    m_lifecycle.addFunctionKey(Qt::Key_F3, m_picture.get(), [this] { showPicture(); });
    m_lifecycle.addFunctionKey(Qt::Key_F5, nullptr, [this] { showOptions(); });
}

// A window manager frames and stacks a window some time after the program shows it;
// the window is exposed once that is done, and the copy goes below it then. Its
// native window is watched from its first show: made earlier, before its size is
// final, it would be placed by its client area, its title bar above the screen.
void CaptureMode::keepInFront(QWidget& window)
{
    m_platform.stacking->prepareInFront(window, *m_desktop);
    window.installEventFilter(this);
}

bool CaptureMode::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* window = qobject_cast<QWidget*>(watched); window && event->type() == QEvent::Show)
        window->windowHandle()->installEventFilter(this);
    if (event->type() == QEvent::Expose)
        placeDesktopBehindWindows();
    return QObject::eventFilter(watched, event);
}

void CaptureMode::showDesktop()
{
    m_desktop->restore();
    m_desktop->raise();
    m_desktop->activateWindow();
    if (m_panel)
        m_panel->showDesktopMinimised(false);
    keepWindowsInFront();
}

void CaptureMode::showPanel() { m_lifecycle.showInFront(*m_panel); }

void CaptureMode::showPicture()
{
    m_lifecycle.showInFront(*m_picture);
    keepWindowsInFront();
}

void CaptureMode::keepWindowsInFront()
{
    if (m_panel && m_panel->isVisible())
        m_panel->raise();
    placeDesktopBehindWindows();
}

void CaptureMode::placeDesktopBehindWindows()
{
    m_platform.stacking->placeBelow(*m_desktop, {m_picture.get(), m_panel.get(), m_about.get(), m_optionsWindow.get()});
}

void CaptureMode::showAbout()
{
    if (!m_about) {
        m_about = std::make_unique<frmAbout>(*m_platform.systemInformation, *m_platform.dialogs);
        m_lifecycle.addWindow(*m_about, ModeLifecycle::Unload::Hide);
        keepInFront(*m_about);
    }
    if (!m_about->isVisible())
        m_about->Form_Load();
    m_lifecycle.showInFront(*m_about);
}

void CaptureMode::showOptions()
{
    if (!m_optionsWindow) {
        m_optionsWindow = std::make_unique<Opt>(m_options);
        connect(m_optionsWindow.get(), &Opt::refreshRequested, this, &CaptureMode::refreshFromOptions);
        connect(m_optionsWindow.get(), &Opt::screenInformationRequested, this,
                [this] { showScreenInformation(*m_optionsWindow); });
        m_lifecycle.addWindow(*m_optionsWindow, ModeLifecycle::Unload::Close);
        keepInFront(*m_optionsWindow);
    }
    if (!m_optionsWindow->isLoaded())
        m_optionsWindow->Form_Load();
    m_lifecycle.showInFront(*m_optionsWindow);
}

void CaptureMode::showScreenInformation(QWidget& over) { ShowScreenInformation(m_platform, m_selection, &over); }

void CaptureMode::refreshFromOptions()
{
    updateSelection();
    m_lifecycle.showInFront(*m_optionsWindow);
}

// Minimises or restores the desktop copy; a desktop copy in the normal window state
// is left alone. Restored, the copy comes back behind the panel and the picture.
void CaptureMode::toggleDesktop()
{
    if (m_desktop->isMinimized()) {
        m_panel->showDesktopMinimised(false);
        m_desktop->restore();
        m_desktop->raise();
        showPanel();
    } else if (m_desktop->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        m_panel->showDesktopMinimised(true);
        m_desktop->minimise();
    }
}
