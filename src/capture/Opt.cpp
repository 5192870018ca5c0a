#include "Opt.h"

#include "OptionFields.h"
#include "OutputOptionValues.h"
#include "shared/Controls.h"
#include "shared/NumberField.h"
#include "shared/ScreenFit.h"
#include "shared/SpinButton.h"
#include "shared/WindowFont.h"
#include "ui_Opt.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

Opt::Opt(OutputOptions& options)
    : QMainWindow(nullptr, Qt::Window)
    , m_options(options)
    , m_ui(std::make_unique<Ui::Opt>())
{
    m_ui->setupUi(this);
    ApplyWindowFont(*this);
    // The window opens at the size its layout asks for in the window's face, or
    // scrolls within the screen's free area where that is smaller.
    ScrollWhenLargerThanScreen(*this);
    setAttribute(Qt::WA_QuitOnClose, false);
    NumberOptionButtons(*this);
    m_ui->UpDown1->bind(m_ui->Text4, MaxPngGamma, 0, m_options.PngGamma);
    m_ui->Frame1->setEnabled(false);
    m_ui->Text2->installEventFilter(this);
    connectOptions();
    connectFields();
    connectCommands();
}

Opt::~Opt() = default;

std::array<QCheckBox*, 4> Opt::filterBoxes() const
{
    return {m_ui->Check3_0, m_ui->Check3_1, m_ui->Check3_2, m_ui->Check3_3};
}

void Opt::connectOptions()
{
    connect(m_ui->Option4, &QButtonGroup::idClicked, this, [this](int i) {
        m_options.BitDepth = static_cast<ColorDepth>(i);
        UpdateBitDepthControls();
    });
    connect(m_ui->Option1, &QButtonGroup::idClicked, this,
            [this](int i) { m_options.BoxSplitMethod = static_cast<std::int16_t>(i); });
    connect(m_ui->Option2, &QButtonGroup::idClicked, this,
            [this](int i) { m_options.BoxColorMethod = static_cast<std::int16_t>(i); });
    connect(m_ui->Option3, &QButtonGroup::idClicked, this,
            [this](int i) { m_options.PaletteMatchMethod = static_cast<std::int16_t>(i); });
    connect(m_ui->Option5, &QButtonGroup::idClicked, this, [this](int i) {
        if (i != m_options.PngDetailed) {
            m_options.PngDetailed = static_cast<std::int16_t>(i);
            UpdatePngControls();
        }
    });
    connect(m_ui->Option6, &QButtonGroup::idClicked, this,
            [this](int i) { m_options.ColorMode = static_cast<std::int16_t>(i); });
    connect(m_ui->Check1, &QCheckBox::toggled, this,
            [this](bool on) { m_options.RleCompress = on ? OptionTrue : OptionFalse; });
    connect(m_ui->Check2, &QCheckBox::toggled, this,
            [this](bool on) { m_options.JpegProgressive = on ? OptionTrue : OptionFalse; });
    connect(m_ui->Check4, &QCheckBox::toggled, this, [this](bool on) { m_options.PngInterlace = on ? 1 : 0; });
    const std::array<QCheckBox*, 4> filters = filterBoxes();
    for (std::size_t k = 0; k < filters.size(); ++k)
        connect(filters[k], &QCheckBox::toggled, this, [this, k](bool on) { m_options.PngFilters[k] = on ? 1 : 0; });
}

void Opt::connectFields()
{
    connect(m_ui->Text1, &QLineEdit::textChanged, this, &Opt::Text1_Change);
    connect(m_ui->Text2, &QLineEdit::textChanged, this, &Opt::Text2_Change);
    connect(m_ui->Text3, &QLineEdit::textChanged, this, &Opt::Text3_Change);
    connect(m_ui->Text4, &QLineEdit::textChanged, this, &Opt::Text4_Change);
    const std::pair<QSlider*, QLineEdit*> mirrors[] = {{m_ui->Slider1, m_ui->Text1},
                                                       {m_ui->Slider2, m_ui->Text2},
                                                       {m_ui->Slider3, m_ui->Text3},
                                                       {m_ui->Slider4, m_ui->Text4}};
    for (const auto& [slider, field] : mirrors)
        connect(slider, &QSlider::valueChanged, field,
                [field](int value) { showText(field, NumberField::formatPlain(value)); });
}

void Opt::connectCommands()
{
    connect(m_ui->Command1, &QPushButton::clicked, this,
            [this] { m_ui->Text4->setText(QString::number(WindowsGamma)); });
    connect(m_ui->Command2, &QPushButton::clicked, this, [this] { m_ui->Text4->setText(QString::number(MacGamma)); });
    connect(m_ui->Command3, &QPushButton::clicked, this, &Opt::Command3_Click);
    connect(m_ui->defaults, &QAction::triggered, this, &Opt::Command3_Click);
    connect(m_ui->Command4, &QPushButton::clicked, this, &Opt::close);
    connect(m_ui->close, &QAction::triggered, this, &Opt::close);
    connect(m_ui->Command5, &QPushButton::clicked, this, &Opt::refreshRequested);
    connect(m_ui->take, &QAction::triggered, this, &Opt::screenInformationRequested);
}

void Opt::Form_Load()
{
    const std::int32_t gamma = m_options.PngGamma;
    CreateSpinButton(m_ui->Text1->parentWidget(), m_ui->Text1, MaxGrayStrength, 0, m_options.GrayStrength);
    CreateSpinButton(m_ui->Text2->parentWidget(), m_ui->Text2, MaxJpegQuality, MinJpegQuality, m_options.JpegQuality);
    CreateSpinButton(m_ui->Text3->parentWidget(), m_ui->Text3, MaxPngCompression, 0, m_options.PngCompression);
    m_options.PngGamma = gamma;
    showOptions();
    m_loaded = true;
}

void Opt::showOptions()
{
    const auto select = [](QButtonGroup* group, int index) {
        if (QAbstractButton* button = group->button(index))
            button->setChecked(true);
    };
    select(m_ui->Option4, static_cast<int>(m_options.BitDepth));
    select(m_ui->Option6, m_options.ColorMode);
    UpdateBitDepthControls();
    select(m_ui->Option5, m_options.PngDetailed);
    select(m_ui->Option1, m_options.BoxSplitMethod);
    select(m_ui->Option2, m_options.BoxColorMethod);
    select(m_ui->Option3, m_options.PaletteMatchMethod);
    m_ui->Check1->setChecked(m_options.RleCompress != OptionFalse);
    showText(m_ui->Text2, NumberField::formatPlain(m_options.JpegQuality));
    m_ui->Slider2->setValue(m_options.JpegQuality);
    showText(m_ui->Text3, NumberField::formatPlain(m_options.PngCompression));
    m_ui->Check2->setChecked(m_options.JpegProgressive != OptionFalse);
    showText(m_ui->Text4, NumberField::formatPlain(m_options.PngGamma));
    const std::array<QCheckBox*, 4> filters = filterBoxes();
    for (std::size_t k = 0; k < filters.size(); ++k)
        filters[k]->setChecked(m_options.PngFilters[k] == 1);
    m_ui->Check4->setChecked(m_options.PngInterlace == 1);
    UpdatePngControls();
    showText(m_ui->Text1, NumberField::formatPlain(m_options.GrayStrength));
}

// The 8-bit group is usable only while 8 bits are chosen, the detailed PNG group only
// in detailed mode; their choices stay meanwhile.
void Opt::UpdateBitDepthControls()
{
    // Frame1 holds Check1 and the three method frames, which follow it.
    m_ui->Frame1->setEnabled(m_options.BitDepth == ColorDepth::Bits8);
}

void Opt::UpdatePngControls()
{
    const bool detailed = m_options.PngDetailed != 0;
    m_ui->Frame7->setEnabled(detailed);
    m_ui->Frame8->setEnabled(detailed);
}

void Opt::Text1_Change()
{
    const FieldCommit commit = CommitGrayStrength(m_ui->Text1->text(), m_options.GrayStrength);
    m_options.GrayStrength = commit.value;
    showText(m_ui->Text1, commit.text);
    m_ui->Slider1->setValue(commit.value);
}

// Every change of the quality's text takes effect at once; the text itself is put
// right when the field is left, so that "2.5" can be typed.
void Opt::Text2_Change()
{
    m_options.JpegQuality =
        static_cast<std::int16_t>(CommitJpegQuality(m_ui->Text2->text(), m_options.JpegQuality).value);
}

void Opt::Text2_LostFocus()
{
    const FieldCommit commit = CommitJpegQuality(m_ui->Text2->text(), m_options.JpegQuality);
    m_options.JpegQuality = static_cast<std::int16_t>(commit.value);
    showText(m_ui->Text2, commit.text);
    m_ui->Slider2->setValue(commit.value);
}

void Opt::Text3_Change()
{
    const FieldCommit commit = CommitPngCompression(m_ui->Text3->text(), m_options.PngCompression);
    m_options.PngCompression = static_cast<std::int16_t>(commit.value);
    m_ui->Slider3->setValue(commit.value);
    showText(m_ui->Text3, commit.text);
}

void Opt::Text4_Change()
{
    const FieldCommit commit = CommitPngGamma(m_ui->Text4->text());
    m_options.PngGamma = commit.value;
    m_ui->Slider4->setValue(commit.value);
    showText(m_ui->Text4, commit.text);
}

void Opt::Command3_Click()
{
    ResetOptions(m_options);
    showOptions();
}

bool Opt::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->Text2 && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        Text2_LostFocus();
    return QMainWindow::eventFilter(watched, event);
}

// Losing the focus closes the window only when the window itself, not one of its
// controls, held it; a message box of its own does not count.
bool Opt::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && isVisible() && (!focusWidget() || focusWidget() == this)
        && !QApplication::activeModalWidget())
        close();
    return QMainWindow::event(event);
}

void Opt::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    QMainWindow::closeEvent(event);
}

void Opt::Form_Unload()
{
    for (QLineEdit* field : {m_ui->Text1, m_ui->Text2, m_ui->Text3})
        DestroySpinButton(field);
    m_loaded = false;
}
