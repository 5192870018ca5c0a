#include "CaptureMode.h"

#include "Opt.h"
#include "PanelFields.h"
#include "PixelRounding.h"
#include "ScreenInformation.h"
#include "ScreenRequest.h"
#include "about/frmAbout.h"
#include "formcom.h"
#include "gazou.h"
#include "platform/FileNameText.h"
#include "scrimble.h"
#include "shared/Settings.h"

#include <QEvent>
#include <QWindow>

CaptureMode::CaptureMode(Platform& platform, const Settings& settings, ModeHost& host,
                         CaptureSelection& selection, OutputOptions& options)
    : m_platform(platform)
    , m_settings(settings)
    , m_host(host)
    , m_lifecycle(host, settings)
    , m_selection(selection)
    , m_options(options)
    , m_picture(std::make_unique<gazou>())
    , m_desktop(std::make_unique<scrimble>(*platform.screen, *platform.pointer))
    , m_screenRequest(std::make_unique<ScreenRequest>(*platform.screen))
{
    connect(m_screenRequest.get(), &ScreenRequest::cancelled, this, [this] { m_host.returnToModeChooser(); });
    connect(m_picture.get(), &gazou::functionKeyPressed, this,
            [this](int key) { m_lifecycle.functionKey(key, *m_picture); });
    connectDesktop();
    m_lifecycle.addWindow(*m_desktop, ModeLifecycle::Unload::Hide);
    m_lifecycle.addWindow(*m_picture, ModeLifecycle::Unload::Hide);
    connect(&m_lifecycle, &ModeLifecycle::shownInFront, this, &CaptureMode::placeDesktopBehindWindows);
    connect(&m_lifecycle, &ModeLifecycle::unloading, m_desktop.get(), &scrimble::stopRecapture);
    m_platform.stacking->prepareCopy(*m_desktop);
    keepInFront(*m_picture);
}

CaptureMode::~CaptureMode() = default;

void CaptureMode::connectDesktop()
{
    scrimble* desktop = m_desktop.get();
    connect(desktop, &scrimble::selectionPressed, this, &CaptureMode::pressSelection);
    connect(desktop, &scrimble::selectionReleased, this, &CaptureMode::releaseSelection);
    connect(desktop, &scrimble::recaptured, this, &CaptureMode::finishTakeImage);
    connect(desktop, &scrimble::functionKeyPressed, this,
            [this](int key) { m_lifecycle.functionKey(key, *m_desktop); });
}

void CaptureMode::addFunctionKeys()
{
    m_lifecycle.addFunctionKey(Qt::Key_F1, m_desktop.get(), [this] { showDesktop(); });
    m_lifecycle.addFunctionKey(Qt::Key_F2, m_panel.get(), [this] { showPanel(); });
    m_lifecycle.addFunctionKey(Qt::Key_F3, m_picture.get(), [this] { showPicture(); });
    m_lifecycle.addFunctionKey(Qt::Key_F5, nullptr, [this] { showOptions(); });
}

ModeOpenResult CaptureMode::load()
{
    if (!m_platform.instanceLock->isFirstInstance())
        return reportLockProblem();
    m_loadResult = ModeOpenResult::Opened;
    m_loading = true;
    m_screenRequest->start([this](bool ready) { screenReady(ready); });
    m_loading = false;
    return m_loadResult;
}

void CaptureMode::screenReady(bool ready)
{
    if (ready && m_desktop->Form_Load()) {
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
    m_picture->surface().stretchMode = HALFTONE;
    m_picture->setClientSize(0, 0);
}

void CaptureMode::loadPanel()
{
    m_panel = std::make_unique<formcom>(*m_platform.screen, m_selection);
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

void CaptureMode::showPanel()
{
    m_lifecycle.showInFront(*m_panel);
}

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
    m_platform.stacking->placeBelow(*m_desktop,
                                    {m_picture.get(), m_panel.get(), m_about.get(), m_optionsWindow.get()});
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

void CaptureMode::showScreenInformation(QWidget& over)
{
    ShowScreenInformation(m_platform, m_selection, &over);
}

void CaptureMode::refreshFromOptions()
{
    updateSelection();
    m_lifecycle.showInFront(*m_optionsWindow);
}

void CaptureMode::pressSelection(double x, double y)
{
    if (m_desktop->pressSelection(x, y, m_picture->isVisible()) == PressResult::NewOutline)
        m_picture->hide();
}

void CaptureMode::releaseSelection()
{
    m_desktop->releaseSelection(m_selection);
    commitSelection(GreyStep::No, HandleGrid::Record);
    m_panel->setCornerTexts(CommitCorners(m_selection, m_desktop->editor().shape()));
}

// Update: the typed coordinates become the selection, rendered with the grey step.
void CaptureMode::updateSelection()
{
    const ShapeRect shape = UpdateRect(m_selection, m_desktop->editor().shape());
    m_desktop->setShape(shape);
    SetSelectionSizes(m_selection, shape.width, shape.height);
    commitSelection(GreyStep::Yes, HandleGrid::Record);
}

// Select all: the whole desktop copy, its corners committed.
void CaptureMode::selectAll()
{
    const DeviceContext& copy = m_desktop->surface();
    const SelectAllResult all = SelectAll(m_selection, copy.width(), copy.height());
    m_panel->setCornerTexts(all.fieldTexts);
    m_desktop->setShape(all.shape);
    commitSelection(GreyStep::No, HandleGrid::Keep);
}

void CaptureMode::clearImage()
{
    m_desktop->clearPicture();
    m_picture->hide();
    ShapeRect hidden = m_desktop->editor().shape();
    hidden.visible = false;
    m_desktop->setShape(hidden);
    m_desktop->setHandlesVisible(false);
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
    m_desktop->armRecapture(intervalMs);
}

void CaptureMode::finishTakeImage(bool grabbed)
{
    if (!grabbed)
        reportGrabFailure();
    showDesktop();
    m_panel->show();
    m_panel->keepOnScreen(m_desktop->width(), m_desktop->height());
    keepWindowsInFront();
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

void CaptureMode::save()
{
    updateSelection();
    const ShapeRect& shape = m_desktop->editor().shape();
    if (!IsSavableSelection(shape)) {
        reportSaveError(NoSelectionText());
        return;
    }
    const SaveSource source = sourceOfSave(shape);
    const SaveFileRequest request{tr("名前を付けて保存"), SaveFilter(), m_saveDialog.filterIndex,
                                  m_saveDialog.fileName, m_saveDialog.defaultExtension, true};
    if (const std::optional<SaveFileAnswer> answer = m_platform.dialogs->saveFile(m_panel.get(), request))
        writeSave(source, *answer);
    m_picture->show();
    m_panel->show();
    keepWindowsInFront();
}

// ColorMode 0: the picture as the picture window shows it, moved toward grey;
// ColorMode 1: the selection of the desktop copy at 1:1.
SaveSource CaptureMode::sourceOfSave(const ShapeRect& shape) const
{
    if (m_options.ColorMode == 0)
        return GreyedSource(DCtoDIB(m_picture->surface(), 0, 0, m_selection.ViewWidth, m_selection.ViewHeight),
                            m_options.GrayStrength);
    SaveSource source{DibGuard(DCtoDIB(m_desktop->surface(), RoundPixel<int>(shape.left), RoundPixel<int>(shape.top),
                                       RoundPixel<int>(shape.width), RoundPixel<int>(shape.height))),
                      {}};
    if (!source.image)
        source.status = {DibError::BadArgument};
    return source;
}

void CaptureMode::writeSave(const SaveSource& source, const SaveFileAnswer& answer)
{
    RememberSave(m_saveDialog, answer.fileName, answer.filterIndex);
    const std::optional<SaveFormat> format = FormatOfSave(answer.filterIndex, answer.fileName);
    if (!format) {
        reportSaveError(UnknownFormatText(answer.fileName));
        return;
    }
    const std::string path = FileNameText::encode(answer.fileName).toStdString();
    const DibStatus status = source.status ? WriteImage(source.image.get(), *format, path, m_options) : source.status;
    if (!status)
        reportSaveError(SaveFailedText(answer.fileName, status));
}

// With no picture yet there is nothing to copy: the save's selection message says
// so, and the clipboard keeps what it had.
void CaptureMode::copyToClipboard()
{
    const DeviceContext& picture = m_picture->surface();
    const int width = m_selection.ViewWidth;
    const int height = m_selection.ViewHeight;
    if (width <= 0 || height <= 0 || width > picture.width() || height > picture.height()) {
        reportSaveError(NoSelectionText());
        return;
    }
    m_platform.clipboard->setImage(picture, width, height);
}

void CaptureMode::reportSaveError(const QString& text)
{
    m_platform.dialogs->message(m_panel.get(), text, SaveErrorTitle(), MessageButtons::Ok);
}

void CaptureMode::prepareWindows()
{
    m_picture->setClientSize(m_selection.ViewWidth, m_selection.ViewHeight);
    m_picture->show();
    m_picture->raise();
    m_panel->show();
    keepWindowsInFront();
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
        m_desktop->recordHandleGrid();
    const ShapeRect& shape = m_desktop->editor().shape();
    renderPicture(RoundPixel<int>(shape.left), RoundPixel<int>(shape.top), grey);
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
    m_platform.dialogs->message(nullptr, m_platform.screen->error(), QString(), MessageButtons::Ok);
}
