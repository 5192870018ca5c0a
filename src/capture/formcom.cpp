#include "formcom.h"

#include "CaptureMode.h"
#include "ClickActivation.h"
#include "PanelFields.h"
#include "app/ModeHost.h"
#include "app/Settings.h"
#include "app/SpinButton.h"
#include "gazou.h"
#include "scrimble.h"

#include <QAction>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int ScreenMargin = 24;  // pixels between the panel and the screen's top-right corner

}  // namespace

formcom::formcom(CaptureMode& mode)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_mode(mode)
    , m_ui(BuildPanelControls(*this))
{
    setWindowTitle(QStringLiteral("コマンド(Scrimble)"));
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_QuitOnClose, false);  // the unload decides: end, or back to the chooser
    for (QLineEdit* field : {m_ui.Text1, m_ui.Text2, m_ui.sX, m_ui.sY, m_ui.eX, m_ui.eY})
        field->installEventFilter(this);
    connectControls();
}

void formcom::connectControls()
{
    connect(m_ui.Command4, &QPushButton::clicked, this, &formcom::Command4_Click);
    connect(m_ui.Command9, &QPushButton::clicked, this, &formcom::Command9_Click);
    connect(m_ui.Command3, &QPushButton::clicked, this, &formcom::Command3_Click);
    connect(m_ui.Command10, &QPushButton::clicked, this, &formcom::Command10_Click);
    connect(m_ui.Command8, &QPushButton::clicked, &m_mode, &CaptureMode::optionsRequested);
    connect(m_ui.take, &QAction::triggered, m_ui.Command1, &QPushButton::click);
    connect(m_ui.CC, &QAction::triggered, m_ui.Command11, &QPushButton::click);
    connect(m_ui.clear, &QAction::triggered, this, &formcom::Command3_Click);
    connect(m_ui.end, &QAction::triggered, this, &formcom::close);
    connect(m_ui.save, &QAction::triggered, this, &formcom::close);
    connect(m_ui.SelectM, &QAction::triggered, this, &formcom::SelectM_Click);
    connect(m_ui.screen, &QAction::triggered, this, &formcom::screen_Click);
}

void formcom::Form_Load()
{
    QWidget* client = centralWidget();
    CreateSpinButton(client, m_ui.Text1, MaxCaptureDelay, 0, 0);
    CreateSpinButton(client, m_ui.Text2, MaxMagnification, MinMagnification, 100);
    CaptureSelection& selection = m_mode.selection();
    selection.Magnification = 100;
    ReturningToChooser = false;
    CaptureDelay = 0;
    ImageCleared = false;
    const ScreenInfo screen = m_mode.platform().screen->screenInfo();
    selection.ScreenWidth = screen.width;
    selection.ScreenHeight = screen.height;
    CreateSpinButton(m_ui.Frame1, m_ui.sX, selection.ScreenWidth, 0, 0);
    CreateSpinButton(m_ui.Frame1, m_ui.sY, selection.ScreenHeight, 0, 0);
    CreateSpinButton(m_ui.Frame1, m_ui.eX, selection.ScreenWidth, 0, 0);
    CreateSpinButton(m_ui.Frame1, m_ui.eY, selection.ScreenHeight, 0, 0);
    new ClickActivation(*this);
    move(std::max(0, selection.ScreenWidth - frameGeometry().width() - ScreenMargin), ScreenMargin);
    m_mode.showPanel();
}

void formcom::setCornerTexts(const std::array<QString, 4>& texts)
{
    m_ui.sX->setText(texts[0]);
    m_ui.sY->setText(texts[1]);
    m_ui.eX->setText(texts[2]);
    m_ui.eY->setText(texts[3]);
}

// A field is committed when it loses the focus to another control or window; opening
// a menu leaves it as typed.
bool formcom::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        commitField(static_cast<const QLineEdit*>(watched));
    return QMainWindow::eventFilter(watched, event);
}

void formcom::commitField(const QLineEdit* field)
{
    CaptureSelection& s = m_mode.selection();
    if (field == m_ui.sX)
        commitCoordinate(m_ui.sX, m_ui.eX, s.StartX, s.ScreenWidth, CommitStartField);
    else if (field == m_ui.sY)
        commitCoordinate(m_ui.sY, m_ui.eY, s.StartY, s.ScreenHeight, CommitStartField);
    else if (field == m_ui.eX)
        commitCoordinate(m_ui.eX, m_ui.sX, s.EndX, s.ScreenWidth, CommitEndField);
    else if (field == m_ui.eY)
        commitCoordinate(m_ui.eY, m_ui.sY, s.EndY, s.ScreenHeight, CommitEndField);
    else if (field == m_ui.Text1)
        Text1_LostFocus();
    else if (field == m_ui.Text2)
        Text2_LostFocus();
}

void formcom::commitCoordinate(QLineEdit* field, QLineEdit* opposite, std::int32_t& variable,
                               std::int32_t extent, CoordinateRule rule)
{
    const CoordinateCommit commit = rule(field->text(), opposite->text(), variable, extent);
    variable = commit.value;
    if (commit.oppositeText)
        opposite->setText(*commit.oppositeText);
    field->setText(commit.text);
}

void formcom::Text1_LostFocus()
{
    const FieldCommit commit = CommitCaptureDelay(m_ui.Text1->text(), CaptureDelay);
    CaptureDelay = static_cast<std::int16_t>(commit.value);
    m_ui.Text1->setText(commit.text);
}

// Takes effect at the next Update, Select all or mouse selection.
void formcom::Text2_LostFocus()
{
    CaptureSelection& selection = m_mode.selection();
    const FieldCommit commit = CommitMagnification(m_ui.Text2->text(), selection.Magnification);
    selection.Magnification = static_cast<std::int16_t>(commit.value);
    m_ui.Text2->setText(commit.text);
}

// Update: the typed coordinates become the selection, rendered with the grey step.
void formcom::Command4_Click()
{
    scrimble& desktop = m_mode.desktop();
    const ShapeRect shape = UpdateRect(m_mode.selection(), desktop.editor().shape());
    desktop.setShape(shape);
    SetSelectionSizes(m_mode.selection(), shape.width, shape.height);
    m_mode.commitSelection(GreyStep::Yes, HandleGrid::Record);
}

// Select all: the whole desktop copy, without touching the committed coordinates.
void formcom::Command9_Click()
{
    const DeviceContext& copy = m_mode.desktop().surface();
    const SelectAllResult all = SelectAll(m_mode.selection(), copy.width(), copy.height());
    setCornerTexts(all.fieldTexts);
    m_mode.desktop().setShape(all.shape);
    m_mode.commitSelection(GreyStep::No, HandleGrid::Keep);
}

void formcom::Command3_Click()
{
    scrimble& desktop = m_mode.desktop();
    if (!ImageCleared) {
        desktop.clearPicture();
        m_mode.picture().hide();
        ShapeRect hidden = desktop.editor().shape();
        hidden.visible = false;
        desktop.setShape(hidden);
        desktop.setHandlesVisible(false);
        ImageCleared = true;
        m_ui.Command3->setText(QString::fromUtf16(TakeImageCaption));
        m_ui.clear->setText(QString::fromUtf16(TakeImageCaption));
        return;
    }
    desktop.hide();
    m_mode.picture().hide();
    hide();
    desktop.timer().start(CaptureTimerInterval(CaptureDelay));
    m_ui.Command3->setText(QString::fromUtf16(ClearButtonCaption));
    m_ui.clear->setText(QString::fromUtf16(ClearMenuCaption));
    ImageCleared = false;
}

// Minimises or restores the desktop copy; a desktop copy in the normal window state
// is left alone.
void formcom::Command10_Click()
{
    scrimble& desktop = m_mode.desktop();
    if (desktop.isMinimized()) {
        m_ui.Command10->setText(QString::fromUtf16(MinimiseDesktopCaption));
        desktop.showFullScreen();
        hide();
        m_mode.showPanel();
    } else if (desktop.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        m_ui.Command10->setText(QString::fromUtf16(MaximiseDesktopCaption));
        desktop.showMinimized();
    }
}

void formcom::screen_Click()
{
    CaptureSelection& selection = m_mode.selection();
    const ScreenInfo screen = m_mode.platform().screen->screenInfo();
    selection.ScreenWidth = screen.width;
    selection.ScreenHeight = screen.height;
    selection.ScreenBitsPerPixel = static_cast<std::int16_t>(screen.bitsPerPixel);
    m_mode.platform().dialogs->message(
        this, ScreenInfoText(selection.ScreenWidth, selection.ScreenHeight, selection.ScreenBitsPerPixel),
        QString::fromUtf16(ScreenInfoTitle), MessageButtons::Ok);
}

void formcom::SelectM_Click()
{
    ReturningToChooser = true;
    close();
    m_mode.unloadWindows();
    m_mode.settings().writeText(QStringLiteral("Start"), QStringLiteral("Boolean"), QStringLiteral("0"));
    m_mode.host().returnToModeChooser();
}

void formcom::keyPressEvent(QKeyEvent* event)
{
    m_mode.functionKey(event->key(), ModeWindow::Panel);
}

void formcom::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

void formcom::Form_Unload()
{
    for (QLineEdit* field : {m_ui.sY, m_ui.sX, m_ui.eY, m_ui.eX, m_ui.Text1, m_ui.Text2})
        DestroySpinButton(field);
    if (!ReturningToChooser)
        m_mode.host().endProgram();
}
