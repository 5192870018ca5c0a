#include "SelectMode.h"

#include "shared/ModeHost.h"
#include "shared/Settings.h"
#include "shared/WindowFont.h"

#include "ui_SelectMode.h"

namespace {

const QString StartSection = QStringLiteral("Start");

}  // namespace

SelectMode::SelectMode(ModeHost& host, const Settings& settings)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::CustomizeWindowHint)
    , m_ui(std::make_unique<Ui::SelectMode>())
    , m_host(host)
    , m_settings(settings)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_ui->setupUi(this);
    ApplyWindowFont(*this);
    connect(m_ui->Command1, &QPushButton::clicked, this, &SelectMode::Command1_Click);
}

SelectMode::~SelectMode() = default;

void SelectMode::load()
{
    if (m_settings.readInt(StartSection, QStringLiteral("Boolean"), 0) == 1) {
        hide();
        const bool desktop = m_settings.readInt(StartSection, QStringLiteral("Mode"), 0) == 1;
        const ModeOpenResult result = desktop ? m_host.openDesktopCapture() : m_host.openPrintScreenSave();
        if (result != ModeOpenResult::NotOpened) {
            unload();
            return;
        }
    }
    show();
}

void SelectMode::Command1_Click()
{
    hide();
    const bool desktop = m_ui->Option1->isChecked();
    const ModeOpenResult result = desktop ? m_host.openDesktopCapture() : m_host.openPrintScreenSave();
    if (result == ModeOpenResult::NotOpened) {
        show();
        return;
    }
    if (result == ModeOpenResult::Opened) {
        m_settings.writeText(StartSection, QStringLiteral("Boolean"),
                             m_ui->Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        m_settings.writeText(StartSection, QStringLiteral("Mode"), desktop ? QStringLiteral("1") : QStringLiteral("0"));
    }
    unload();
}

void SelectMode::unload()
{
    hide();
    deleteLater();
}
