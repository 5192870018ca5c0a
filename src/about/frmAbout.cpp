#include "frmAbout.h"

#include "platform/Platform.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int ClientWidth = 420;  // pixels
constexpr int ClientHeight = 250;

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* created = new QLabel(text, parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setGeometry(geometry);
    created->setWordWrap(true);
    return created;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* created = new QPushButton(caption, parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setGeometry(geometry);
    return created;
}

void separator(QWidget* parent, int top)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, top, ClientWidth - 16, 2);
}

}  // namespace

QString VersionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(Platform& platform)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_platform(platform)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(ClientWidth, ClientHeight);
    buildControls();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::buildControls()
{
    auto* icon = label(this, "Image1", QString(), {12, 12, 32, 32});
    icon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    QLabel* title = label(this, "lblTitle", QStringLiteral("Scrimble"), {60, 10, 340, 24});
    lblVersion = label(this, "lblVersion", QStringLiteral("Version"), {60, 36, 340, 20});
    for (QLabel* arial : {title, lblVersion}) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(arial == title ? 14 : 9);
        arial->setFont(font);
    }
    label(this, "lblDescription",
          QStringLiteral("このファイルは、デスクトップ上の画像を取得し、選択範囲の設定変更、伸長、保存時の設定変更を行い、"
                         "BMP、RLE－BMP、JPEG、PING形式で保存するソフトです。"),
          {60, 64, 350, 60});
    label(this, "Label2", QStringLiteral("また、クリップボード内の画像データを連番ファイルとして保存する機能も持っています。"),
          {60, 126, 350, 40});
    separator(this, 172);
    separator(this, 174);
    cmdOK = button(this, "cmdOK", QStringLiteral("OK"), {ClientWidth - 128, 186, 116, 26});
    cmdSysInfo = button(this, "cmdSysInfo", QStringLiteral("ｼｽﾃﾑ情報(&S)..."), {ClientWidth - 128, 216, 116, 26});
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("Scrimbleのﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(VersionText(SCRIMBLE_VERSION_MAJOR, SCRIMBLE_VERSION_MINOR, SCRIMBLE_VERSION_PATCH));
}

// The box goes; the next use of the version menu loads it again.
void frmAbout::cmdOK_Click()
{
    hide();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

// Every way of not starting the program ends in the one message; the box stays.
void frmAbout::StartSysInfo()
{
    if (!m_platform.systemInformation->start())
        m_platform.dialogs->message(this, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"), QString(),
                                    MessageButtons::Ok);
}
