#include "formcom.h"

#include "CaptureModel.h"
#include "CaptureSelection.h"
#include "ClickActivation.h"
#include "PanelFields.h"
#include "shared/SpinButton.h"
#include "shared/WindowFont.h"
#include "ui_formcom.h"

#include <QAction>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {

constexpr int ScreenMargin = 24;  // pixels between the panel and the screen's top-right corner

}  // namespace

formcom::formcom(const CaptureModel& model, CaptureSelection& selection)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_model(model)
    , m_selection(selection)
    , m_ui(std::make_unique<Ui::formcom>())
{
    m_ui->setupUi(this);
    ApplyWindowFont(*this);
    yieldAccessKeysToMenus();
    // The menu bar's height follows the face: the fixed size is taken after it is set.
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_QuitOnClose, false);  // the mode decides: end, or back to the chooser
    for (QLineEdit* field : {m_ui->Text1, m_ui->Text2, m_ui->sX, m_ui->sY, m_ui->eX, m_ui->eY})
        field->installEventFilter(this);
    connectControls();
}

formcom::~formcom() = default;

// A button whose access key is also a menu's gives it up, so that Alt with that letter
// opens the menu every time instead of alternating between the two.
void formcom::yieldAccessKeysToMenus()
{
    for (const QAction* title : menuBar()->actions())
        for (QPushButton* button : findChildren<QPushButton*>())
            if (button->shortcut() == QKeySequence::mnemonic(title->text()))
                button->setShortcut(QKeySequence());
}

void formcom::connectControls()
{
    // Connected first, so that it runs before each button's own handler.
    for (QPushButton* button : findChildren<QPushButton*>())
        connect(button, &QPushButton::clicked, this, &formcom::commitFocusedField);
    connect(m_ui->Command1, &QPushButton::clicked, this, &formcom::saveRequested);
    connect(m_ui->Command11, &QPushButton::clicked, this, &formcom::copyRequested);
    connect(m_ui->Command4, &QPushButton::clicked, this, &formcom::Command4_Click);
    connect(m_ui->Command9, &QPushButton::clicked, this, &formcom::Command9_Click);
    connect(m_ui->Command3, &QPushButton::clicked, this, &formcom::Command3_Click);
    connect(m_ui->Command10, &QPushButton::clicked, this, &formcom::Command10_Click);
    connect(m_ui->Command8, &QPushButton::clicked, this, &formcom::optionsRequested);
    connect(m_ui->take, &QAction::triggered, m_ui->Command1, &QPushButton::click);
    connect(m_ui->CC, &QAction::triggered, m_ui->Command11, &QPushButton::click);
    connect(m_ui->clear, &QAction::triggered, this, &formcom::Command3_Click);
    connect(m_ui->end, &QAction::triggered, this, &formcom::close);
    connect(m_ui->save, &QAction::triggered, this, &formcom::close);
    connect(m_ui->SelectM, &QAction::triggered, this, &formcom::SelectM_Click);
    connect(m_ui->screen, &QAction::triggered, this, &formcom::screenInformationRequested);
    connect(m_ui->version, &QAction::triggered, this, &formcom::aboutRequested);
}

void formcom::Form_Load()
{
    QWidget* client = centralWidget();
    CreateSpinButton(client, m_ui->Text1, MaxCaptureDelay, 0, 0);
    CreateSpinButton(client, m_ui->Text2, MaxMagnification, MinMagnification, 100);
    m_selection.Magnification = 100;
    CaptureDelay = 0;
    ImageCleared = false;
    const QSize screen = m_model.screenSize();
    m_selection.ScreenWidth = screen.width();
    m_selection.ScreenHeight = screen.height();
    CreateSpinButton(m_ui->Frame1, m_ui->sX, m_selection.ScreenWidth, 0, 0);
    CreateSpinButton(m_ui->Frame1, m_ui->sY, m_selection.ScreenHeight, 0, 0);
    CreateSpinButton(m_ui->Frame1, m_ui->eX, m_selection.ScreenWidth, 0, 0);
    CreateSpinButton(m_ui->Frame1, m_ui->eY, m_selection.ScreenHeight, 0, 0);
    new ClickActivation(*this);
    moveToTopRight(m_selection.ScreenWidth);
}

void formcom::moveToTopRight(int screenWidth)
{
    move(std::max(0, screenWidth - frameGeometry().width() - ScreenMargin), ScreenMargin);
}

void formcom::keepOnScreen(int width, int height)
{
    if (!QRect(0, 0, width, height).contains(frameGeometry()))
        moveToTopRight(width);
}

void formcom::setCornerTexts(const std::array<QString, 4>& texts)
{
    m_ui->sX->setText(texts[0]);
    m_ui->sY->setText(texts[1]);
    m_ui->eX->setText(texts[2]);
    m_ui->eY->setText(texts[3]);
}

// A field is committed when it loses the focus to another control or window; opening
// a menu leaves it as typed. The menus' Ctrl shortcuts reach their items even from a
// field, which would otherwise keep Ctrl+C, Ctrl+V and Ctrl+E as editing keys.
bool formcom::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        commitField(static_cast<const QLineEdit*>(watched));
    if (event->type() == QEvent::ShortcutOverride && isMenuShortcut(*static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool formcom::isMenuShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (const QAction* action : findChildren<QAction*>())
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    return false;
}

void formcom::commitFocusedField()
{
    if (auto* field = qobject_cast<QLineEdit*>(focusWidget()))
        commitField(field);
}

void formcom::commitField(const QLineEdit* field)
{
    CaptureSelection& s = m_selection;
    if (field == m_ui->sX)
        commitCoordinate(m_ui->sX, m_ui->eX, s.StartX, s.ScreenWidth, CommitStartField);
    else if (field == m_ui->sY)
        commitCoordinate(m_ui->sY, m_ui->eY, s.StartY, s.ScreenHeight, CommitStartField);
    else if (field == m_ui->eX)
        commitCoordinate(m_ui->eX, m_ui->sX, s.EndX, s.ScreenWidth, CommitEndField);
    else if (field == m_ui->eY)
        commitCoordinate(m_ui->eY, m_ui->sY, s.EndY, s.ScreenHeight, CommitEndField);
    else if (field == m_ui->Text1)
        Text1_LostFocus();
    else if (field == m_ui->Text2)
        Text2_LostFocus();
}

void formcom::commitCoordinate(QLineEdit* field, QLineEdit* opposite, std::int32_t& variable, std::int32_t extent,
                               CoordinateRule rule)
{
    const CoordinateCommit commit = rule(field->text(), opposite->text(), variable, extent);
    variable = commit.value;
    if (commit.oppositeText)
        opposite->setText(*commit.oppositeText);
    field->setText(commit.text);
}

void formcom::Text1_LostFocus()
{
    const FieldCommit commit = CommitCaptureDelay(m_ui->Text1->text(), CaptureDelay);
    CaptureDelay = static_cast<std::int16_t>(commit.value);
    m_ui->Text1->setText(commit.text);
}

// Takes effect at the next Update, Select all or mouse selection.
void formcom::Text2_LostFocus()
{
    const FieldCommit commit = CommitMagnification(m_ui->Text2->text(), m_selection.Magnification);
    m_selection.Magnification = static_cast<std::int16_t>(commit.value);
    m_ui->Text2->setText(commit.text);
}

void formcom::Command4_Click() { emit updateRequested(); }

void formcom::Command9_Click() { emit selectAllRequested(); }

// Clear, and the take-image command it turns into until that has run (formcom.ui
// holds the first captions).
void formcom::Command3_Click()
{
    if (!ImageCleared) {
        ImageCleared = true;
        const QString takeImage = tr("画像取得(&T)");  // button and menu item alike
        m_ui->Command3->setText(takeImage);
        m_ui->clear->setText(takeImage);
        emit clearRequested();
        return;
    }
    ImageCleared = false;
    m_ui->Command3->setText(tr("クリア(&C)"));
    m_ui->clear->setText(tr("画像クリア(&C)"));
    emit takeImageRequested(CaptureTimerInterval(CaptureDelay));
}

void formcom::Command10_Click() { emit desktopToggleRequested(); }

void formcom::showDesktopMinimised(bool minimised)
{
    m_ui->Command10->setText(minimised ? tr("ピクチャフォーム最大化(&S)") : tr("ピクチャフォーム最小化(&S)"));
}

void formcom::SelectM_Click() { emit chooserRequested(); }

void formcom::keyPressEvent(QKeyEvent* event) { emit functionKeyPressed(event->key()); }

void formcom::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

void formcom::Form_Unload()
{
    for (QLineEdit* field : {m_ui->sY, m_ui->sX, m_ui->eY, m_ui->eX, m_ui->Text1, m_ui->Text2})
        DestroySpinButton(field);
    emit closed();
}
