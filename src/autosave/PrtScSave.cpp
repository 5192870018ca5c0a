#include "PrtScSave.h"

#include "AutoSaveFields.h"
#include "platform/Dialogs.h"
#include "shared/Controls.h"
#include "shared/NumberField.h"
#include "shared/Settings.h"
#include "shared/SpinButton.h"
#include "shared/WindowFont.h"

#include "ui_PrtScSave.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <limits>

namespace {

const QString FolderSection = QStringLiteral("PrtScSave");
const QString FolderKey = QStringLiteral("FolderPath");
const QString PatternSection = QStringLiteral("PrintScSave");
const QString PatternKey = QStringLiteral("FilePath");
const QString DefaultPattern = QStringLiteral("Picture_####");

std::int32_t spinBound(const QString& maximum)
{
    return static_cast<std::int32_t>(
        NumberField::clamp(NumberField::parseFloor(maximum).value_or(0), 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

PrtScSave::PrtScSave(Dialogs& dialogs, const Settings& settings, QString applicationFolder)
    : QMainWindow(nullptr, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_dialogs(dialogs)
    , m_settings(settings)
    , m_applicationFolder(std::move(applicationFolder))
    , m_ui(std::make_unique<Ui::PrtScSave>())
{
    m_ui->setupUi(this);
    ApplyWindowFont(*this);
    NumberOptionButtons(*this);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    m_ui->UpDown1->bind(m_ui->Text3, 0, 0, 0);
    m_ui->Text2->installEventFilter(this);
    connectNaming();
    connectFormat();
    connectCommands();
}

PrtScSave::~PrtScSave() = default;

void PrtScSave::connectNaming()
{
    connect(m_ui->Text1, &QLineEdit::textChanged, this, &PrtScSave::folderEdited);
    connect(m_ui->Text2, &QLineEdit::textChanged, this, &PrtScSave::patternEdited);
    connect(m_ui->Text3, &QLineEdit::textChanged, this, &PrtScSave::serialEdited);
    connect(m_ui->Text4, &QLineEdit::textChanged, this, &PrtScSave::Text4_Change);
    connect(m_ui->Check1, &QCheckBox::toggled, this, &PrtScSave::overwriteEdited);
    connect(m_ui->Command1, &QPushButton::clicked, this, &PrtScSave::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &PrtScSave::startNumberRequested);
}

void PrtScSave::connectFormat()
{
    connect(m_ui->Option1, &QButtonGroup::idClicked, this, &PrtScSave::Option1_Click);
    connect(m_ui->Option2, &QButtonGroup::idClicked, this,
            [this](int i) { editFormat(&CaptureFormat::depth, static_cast<BmpDepth>(i)); });
    connect(m_ui->Check2, &QCheckBox::toggled, this, [this](bool on) { editFormat(&CaptureFormat::rle, on); });
    connect(m_ui->Check3, &QCheckBox::toggled, this, [this](bool on) { editFormat(&CaptureFormat::grey, on); });
    connect(m_ui->Check4, &QCheckBox::toggled, this, [this](bool on) { editFormat(&CaptureFormat::progressive, on); });
    connect(m_ui->Check5, &QCheckBox::toggled, this, [this](bool on) { editFormat(&CaptureFormat::interlaced, on); });
    connect(m_ui->Text5, &QLineEdit::textChanged, this, [this] {
        editFormat(&CaptureFormat::quality,
                   static_cast<int>(holdField(m_ui->Text5, MinJpegQuality, MaxJpegQuality, m_format.quality)));
    });
    connect(m_ui->Text6, &QLineEdit::textChanged, this, [this] {
        editFormat(&CaptureFormat::level, static_cast<int>(holdField(m_ui->Text6, 0, MaxPngLevel, m_format.level)));
    });
    connect(m_ui->Text7, &QLineEdit::textChanged, this,
            [this] { m_interval = holdField(m_ui->Text7, MinWatchInterval, MaxWatchInterval, m_interval); });
}

void PrtScSave::connectCommands()
{
    connect(m_ui->Command3, &QPushButton::clicked, this, &PrtScSave::startRequested);
    connect(m_ui->Command4, &QPushButton::clicked, this, &PrtScSave::stopRequested);
    connect(m_ui->EndPro, &QAction::triggered, this, &PrtScSave::close);
    connect(m_ui->SelectM, &QAction::triggered, this, &PrtScSave::chooserRequested);
}

void PrtScSave::Form_Load()
{
    m_ui->Text1->setText(m_settings.readText(FolderSection, FolderKey, m_applicationFolder));
    m_ui->Text2->setText(m_settings.readText(PatternSection, PatternKey, DefaultPattern));
    emit patternLeft(true);
    m_ui->Text3->setText(QStringLiteral("0"));
    m_ui->Option2->button(0)->setChecked(true);
    editFormat(&CaptureFormat::depth, BmpDepth::Bits24);
    m_ui->Option1->button(0)->setChecked(true);
    Option1_Click(0);
    CreateSpinButton(m_ui->Text5->parentWidget(), m_ui->Text5, static_cast<std::int32_t>(MaxJpegQuality),
                     static_cast<std::int32_t>(MinJpegQuality), m_format.quality);
    CreateSpinButton(m_ui->Text6->parentWidget(), m_ui->Text6, static_cast<std::int32_t>(MaxPngLevel), 0,
                     m_format.level);
    CreateSpinButton(m_ui->Text7->parentWidget(), m_ui->Text7, static_cast<std::int32_t>(MaxWatchInterval),
                     static_cast<std::int32_t>(MinWatchInterval), static_cast<std::int32_t>(DefaultWatchInterval));
}

void PrtScSave::showNaming(const NamingState& naming)
{
    showText(m_ui->Text2, naming.pattern);
    showText(m_ui->Text4, naming.maximum);
    showText(m_ui->Text3, naming.serial);
}

void PrtScSave::showSerial(const QString& text) { m_ui->Text3->setText(text); }

void PrtScSave::focusPattern() { m_ui->Text2->setFocus(Qt::OtherFocusReason); }

void PrtScSave::Text4_Change() { m_ui->UpDown1->setUpper(spinBound(m_ui->Text4->text())); }

std::int64_t PrtScSave::holdField(QLineEdit* field, std::int64_t lower, std::int64_t upper, std::int64_t previous)
{
    const HeldField held = HoldField(field->text(), lower, upper, previous);
    if (held.replacement)
        field->setText(*held.replacement);
    return held.value;
}

void PrtScSave::Option1_Click(int index)
{
    for (int i = 0; i < 3; ++i)
        EnableFormatSettings(i, i == index);
    editFormat(&CaptureFormat::format, static_cast<SaveFormat>(index));
}

// The frame's controls follow their frame.
void PrtScSave::EnableFormatSettings(int index, bool enabled)
{
    const std::array frames{m_ui->Frame2_0, m_ui->Frame2_1, m_ui->Frame2_2};
    frames.at(static_cast<std::size_t>(index))->setEnabled(enabled);
}

// A cancelled browser, or one that fails, leaves the folder as it was.
void PrtScSave::Command1_Click()
{
    const std::optional<QString> folder = m_dialogs.chooseFolder(this, tr("フォルダの選択"), m_ui->Text1->text());
    if (folder)
        m_ui->Text1->setText(*folder);
}

void PrtScSave::setWatching(bool watching)
{
    m_watching = watching;
    for (QWidget* control : std::initializer_list<QWidget*>{m_ui->Text2, m_ui->Text3, m_ui->Command1, m_ui->Command2,
                                                            m_ui->Frame1, m_ui->Text7, m_ui->Command3})
        control->setEnabled(!watching);
    m_ui->UpDown1->setEnabled(!watching);
    if (SpinButton* spin = SpinButton::attachedTo(m_ui->Text7))
        spin->setEnabled(!watching);
    m_ui->Fil->menuAction()->setEnabled(!watching);
    m_ui->Command4->setEnabled(watching);
}

void PrtScSave::showNote(const QString& text)
{
    m_ui->note->setText(text);
    m_ui->note->setVisible(!text.isEmpty());
}

bool PrtScSave::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->Text2 && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && !QApplication::activeModalWidget())
        emit patternLeft(false);
    return QMainWindow::eventFilter(watched, event);
}

// Refused, silently, while a watch runs.
void PrtScSave::closeEvent(QCloseEvent* event)
{
    if (m_watching) {
        event->ignore();
        return;
    }
    Form_Unload();
    QMainWindow::closeEvent(event);
}

void PrtScSave::Form_Unload()
{
    for (QLineEdit* field : {m_ui->Text5, m_ui->Text6, m_ui->Text7})
        DestroySpinButton(field);
    m_settings.writeText(FolderSection, FolderKey, m_ui->Text1->text());
    m_settings.writeText(PatternSection, PatternKey, m_ui->Text2->text());
    emit closed();
}
