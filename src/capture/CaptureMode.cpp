#include "CaptureMode.h"

#include "Opt.h"
#include "PanelFields.h"
#include "ScreenAcquisition.h"
#include "about/frmAbout.h"
#include "formcom.h"
#include "gazou.h"
#include "scrimble.h"
#include "shared/Settings.h"

CaptureMode::CaptureMode(Platform& platform, const Settings& settings, ModeHost& host, CaptureSelection& selection,
                         OutputOptions& options)
    : m_platform(platform)
    , m_settings(settings)
    , m_host(host)
    , m_lifecycle(host, settings)
    , m_selection(selection)
    , m_options(options)
    , m_model(*platform.screen)
    , m_acquisition(std::make_unique<ScreenAcquisition>(*platform.screen, m_model))
{
    m_model.emptyPicture(gazou::DesignWidth, gazou::DesignHeight);
    m_picture = std::make_unique<gazou>(m_model);
    m_desktop = std::make_unique<scrimble>(m_model, *platform.pointer);
    connect(m_acquisition.get(), &ScreenAcquisition::cancelled, this, [this] { m_host.returnToModeChooser(); });
    connect(m_acquisition.get(), &ScreenAcquisition::recaptured, this, &CaptureMode::finishTakeImage);
    connect(m_acquisition.get(), &ScreenAcquisition::recaptureCancelled, this, &CaptureMode::showWindowsAgain);
    connectPicture();
    connectDesktop();
    m_lifecycle.addWindow(*m_desktop, ModeLifecycle::Unload::Hide);
    m_lifecycle.addWindow(*m_picture, ModeLifecycle::Unload::Hide);
    connect(&m_lifecycle, &ModeLifecycle::shownInFront, this, &CaptureMode::placeDesktopBehindWindows);
    connect(&m_lifecycle, &ModeLifecycle::unloading, m_acquisition.get(), &ScreenAcquisition::stop);
    m_platform.stacking->prepareCopy(*m_desktop);
    keepInFront(*m_picture);
}

CaptureMode::~CaptureMode() = default;

void CaptureMode::connectPicture()
{
    connect(m_picture.get(), &gazou::functionKeyPressed, this,
            [this](int key) { m_lifecycle.functionKey(key, *m_picture); });
    connect(m_picture.get(), &gazou::unloaded, this,
            [this] { m_model.emptyPicture(gazou::DesignWidth, gazou::DesignHeight); });
}

void CaptureMode::connectDesktop()
{
    scrimble* desktop = m_desktop.get();
    connect(desktop, &scrimble::selectionPressed, this, &CaptureMode::pressSelection);
    connect(desktop, &scrimble::selectionMoved, this, &CaptureMode::moveSelection);
    connect(desktop, &scrimble::selectionReleased, this, &CaptureMode::releaseSelection);
    connect(desktop, &scrimble::functionKeyPressed, this,
            [this](int key) { m_lifecycle.functionKey(key, *m_desktop); });
}

ModeOpenResult CaptureMode::load()
{
    if (!m_platform.instanceLock->isFirstInstance())
        return reportLockProblem();
    m_loadResult = ModeOpenResult::Opened;
    m_loading = true;
    m_acquisition->acquire([this](bool grabbed) { screenTaken(grabbed); });
    m_loading = false;
    return m_loadResult;
}

void CaptureMode::screenTaken(bool grabbed)
{
    if (grabbed) {
        m_desktop->showScreen();
        openWindows();
        return;
    }
    reportGrabFailure();
    if (m_loading)
        m_loadResult = ModeOpenResult::NotOpened;
    else
        m_host.returnToModeChooser();
}

void CaptureMode::openWindows()
{
    showDesktop();
    loadPanel();
    InitOutputOptions(m_options);
    m_model.emptyPicture(0, 0);
    m_picture->showPicture();
}

void CaptureMode::loadPanel()
{
    m_panel = std::make_unique<formcom>(m_model, m_selection);
    formcom* panel = m_panel.get();
    connect(panel, &formcom::updateRequested, this, &CaptureMode::updateSelection);
    connect(panel, &formcom::selectAllRequested, this, &CaptureMode::selectAll);
    connect(panel, &formcom::clearRequested, this, &CaptureMode::clearImage);
    connect(panel, &formcom::takeImageRequested, this, &CaptureMode::takeImage);
    connect(panel, &formcom::desktopToggleRequested, this, &CaptureMode::toggleDesktop);
    connect(panel, &formcom::saveRequested, this, &CaptureMode::save);
    connect(panel, &formcom::copyRequested, this, &CaptureMode::copyToClipboard);
    connect(panel, &formcom::optionsRequested, this, &CaptureMode::showOptions);
    connect(panel, &formcom::aboutRequested, this, &CaptureMode::showAbout);
    connect(panel, &formcom::chooserRequested, &m_lifecycle, &ModeLifecycle::returnToChooser);
    connect(panel, &formcom::closed, &m_lifecycle, &ModeLifecycle::mainWindowClosed);
    connect(panel, &formcom::screenInformationRequested, this, [this] { showScreenInformation(*m_panel); });
    connect(panel, &formcom::functionKeyPressed, this, [this](int key) { m_lifecycle.functionKey(key, *m_panel); });
    m_lifecycle.setMainWindow(*m_panel);
    addFunctionKeys();
    keepInFront(*m_panel);
    m_panel->Form_Load();
    m_panel->keepOnScreen(m_desktop->width(), m_desktop->height());
    showPanel();
}

// Whether the press grabs a handle depends on the picture window.
void CaptureMode::pressSelection(double x, double y)
{
    setHandlesVisible(false);
    const PressResult result = m_model.editor().press(x, y, m_picture->isVisible());
    m_desktop->showSelection();
    if (result == PressResult::NewOutline)
        m_picture->hide();
}

void CaptureMode::moveSelection(double x, double y)
{
    if (const std::optional<CursorShape> cursor = m_model.editor().move(x, y))
        m_desktop->showPointerShape(*cursor);
    m_desktop->showSelection();
}

void CaptureMode::releaseSelection()
{
    m_model.editor().release(m_selection);
    commitSelection(GreyStep::No, HandleGrid::Record);
    m_panel->setCornerTexts(CommitCorners(m_selection, m_model.editor().shape()));
}

void CaptureMode::setShape(const ShapeRect& shape)
{
    m_model.editor().setShape(shape);
    m_desktop->showSelection();
}

void CaptureMode::setHandlesVisible(bool visible)
{
    m_model.setHandlesVisible(visible);
    m_desktop->showSelection();
}

// Update: the typed coordinates become the selection, rendered with the grey step.
void CaptureMode::updateSelection()
{
    const ShapeRect shape = UpdateRect(m_selection, m_model.editor().shape());
    setShape(shape);
    SetSelectionSizes(m_selection, shape.width, shape.height);
    commitSelection(GreyStep::Yes, HandleGrid::Record);
}

// Select all: the whole desktop copy, its corners committed.
void CaptureMode::selectAll()
{
    const QSize screen = m_model.screenSize();
    const SelectAllResult all = SelectAll(m_selection, screen.width(), screen.height());
    m_panel->setCornerTexts(all.fieldTexts);
    setShape(all.shape);
    commitSelection(GreyStep::No, HandleGrid::Keep);
}

void CaptureMode::clearImage()
{
    m_model.clearScreen();
    m_desktop->update();
    m_picture->hide();
    ShapeRect hidden = m_model.editor().shape();
    hidden.visible = false;
    setShape(hidden);
    setHandlesVisible(false);
}

// Every window goes first, so that the new copy shows the real desktop.
void CaptureMode::takeImage(int intervalMs)
{
    m_desktop->hide();
    if (m_about)
        m_about->hide();
    if (m_optionsWindow)
        m_optionsWindow->hide();
    m_picture->hide();
    m_panel->hide();
    m_acquisition->acquireAfter(intervalMs);
}

void CaptureMode::finishTakeImage(bool grabbed)
{
    if (grabbed)
        m_desktop->showScreen();
    else
        reportGrabFailure();
    showWindowsAgain();
}

void CaptureMode::showWindowsAgain()
{
    showDesktop();
    m_panel->show();
    m_panel->keepOnScreen(m_desktop->width(), m_desktop->height());
    keepWindowsInFront();
}

void CaptureMode::prepareWindows()
{
    m_model.emptyPicture(m_selection.ViewWidth, m_selection.ViewHeight);
    m_picture->showPicture();
    m_picture->show();
    m_picture->raise();
    m_panel->show();
    keepWindowsInFront();
}

// Library failures leave the picture empty; nothing is reported, as for every
// image step of the preview.
void CaptureMode::commitSelection(GreyStep grey, HandleGrid grid)
{
    prepareWindows();
    setHandlesVisible(true);
    if (grid == HandleGrid::Record)
        m_model.editor().recordGrid();
    static_cast<void>(m_model.refreshPicture(m_selection, m_options, grey));
    m_picture->update();
}

// Another instance ends this one silently; a lock that could not be used is told.
ModeOpenResult CaptureMode::reportLockProblem()
{
    const QString problem = m_platform.instanceLock->problem();
    if (problem.isEmpty())
        return ModeOpenResult::ProgramEnding;
    m_platform.dialogs->message(nullptr, problem, QString(), MessageButtons::Ok);
    return ModeOpenResult::NotOpened;
}

void CaptureMode::reportGrabFailure()
{
    m_platform.dialogs->message(nullptr, m_acquisition->error(), QString(), MessageButtons::Ok);
}
