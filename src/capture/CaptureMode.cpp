#include "CaptureMode.h"

#include "PixelRounding.h"
#include "SurfacePainter.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"

CaptureMode::CaptureMode(Platform& platform, const Settings& settings, ModeHost& host, OutputOptions& options)
    : m_platform(platform)
    , m_settings(settings)
    , m_host(host)
    , m_options(options)
    , m_picture(std::make_unique<gazou>(*this))
    , m_desktop(std::make_unique<scrimble>(*this))
{
}

CaptureMode::~CaptureMode() = default;

ModeOpenResult CaptureMode::load()
{
    return m_desktop->Form_Load();
}

void CaptureMode::loadPanel()
{
    m_panel = std::make_unique<formcom>(*this);
    m_panel->Form_Load();
}

void CaptureMode::showDesktop()
{
    m_desktop->show();
    m_desktop->raise();
    m_desktop->activateWindow();
    keepPanelOnTop();
}

void CaptureMode::showPanel()
{
    m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
}

void CaptureMode::showPicture()
{
    m_picture->show();
    m_picture->raise();
    m_picture->activateWindow();
    keepPanelOnTop();
}

void CaptureMode::keepPanelOnTop()
{
    if (m_panel && m_panel->isVisible())
        m_panel->raise();
}

void CaptureMode::functionKey(int keyCode, ModeWindow from)
{
    if (keyCode == Qt::Key_F1 && from != ModeWindow::Desktop)
        showDesktop();
    else if (keyCode == Qt::Key_F2 && from != ModeWindow::Panel)
        showPanel();
    else if (keyCode == Qt::Key_F3 && from != ModeWindow::Picture)
        showPicture();
    else if (keyCode == Qt::Key_F5)
        emit optionsRequested();
}

void CaptureMode::prepareWindows()
{
    m_picture->setClientSize(m_selection.ViewWidth, m_selection.ViewHeight);
    m_picture->show();
    m_picture->raise();
    m_panel->show();
    keepPanelOnTop();
}

// Library failures leave the picture empty; nothing is reported, as for every
// image step of the preview.
void CaptureMode::renderPicture(int sourceX, int sourceY, GreyStep grey)
{
    static_cast<void>(RenderPicture(m_desktop->surface(), m_picture->surface(), sourceX, sourceY,
                                    m_selection, m_options, grey));
    m_picture->update();
}

void CaptureMode::commitSelection(GreyStep grey, HandleGrid grid)
{
    prepareWindows();
    m_desktop->setHandlesVisible(true);
    if (grid == HandleGrid::Record)
        m_desktop->editor().recordGrid();
    const ShapeRect& shape = m_desktop->editor().shape();
    renderPicture(RoundPixel<int>(shape.left), RoundPixel<int>(shape.top), grey);
}

void CaptureMode::reportGrabFailure()
{
    m_platform.dialogs->message(nullptr, m_platform.screen->error(), QString(), MessageButtons::Ok);
}

void CaptureMode::unloadWindows()
{
    m_desktop->timer().stop();
    m_desktop->hide();
    m_picture->hide();
    m_panel->hide();
}
