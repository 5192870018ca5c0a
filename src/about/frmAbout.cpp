#include "frmAbout.h"

#include "platform/Dialogs.h"
#include "platform/SystemInformation.h"
#include "shared/WindowFont.h"

#include "ui_frmAbout.h"

#include <QApplication>
#include <QStyle>

QString VersionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(SystemInformation& systemInformation, Dialogs& dialogs)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_ui(std::make_unique<Ui::frmAbout>())
    , m_systemInformation(systemInformation)
    , m_dialogs(dialogs)
{
    m_ui->setupUi(this);
    ApplyWindowFont(*this);
    // The desktop's own computer icon: the form holds no pictures of its own.
    m_ui->Image1->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(m_ui->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    setWindowTitle(tr("Scrimbleのﾊﾞｰｼﾞｮﾝ情報"));
    m_ui->lblVersion->setText(VersionText(SCRIMBLE_VERSION_MAJOR, SCRIMBLE_VERSION_MINOR, SCRIMBLE_VERSION_PATCH));
}

// The box goes; the next use of the version menu loads it again.
void frmAbout::cmdOK_Click() { hide(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

// Every way of not starting the program ends in the one message; the box stays.
void frmAbout::StartSysInfo()
{
    if (!m_systemInformation.start())
        m_dialogs.message(this, tr("現時点ではｼｽﾃﾑ情報を使用できません"), QString(), MessageButtons::Ok);
}
