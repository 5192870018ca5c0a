#include "SelectMode.h"

#include "shared/ModeHost.h"
#include "shared/Settings.h"
#include "shared/WindowFont.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString StartSection = QStringLiteral("Start");

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

SelectMode::SelectMode(ModeHost& host, const Settings& settings)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      Frame1(new QGroupBox(QStringLiteral("機能セレクト"), this)),
      Option1(new QRadioButton(QStringLiteral("デスクトップキャプチャ"), Frame1)),
      Label1(makeLabel(Frame1, QStringLiteral("Scrimbleの通常機能です。画像を取得、範囲を選択、保存します。"),
                       QRect(16, 40, 265, 33))),
      Option2(new QRadioButton(QStringLiteral("プリントスクリーンセーブ"), Frame1)),
      Label2(makeLabel(Frame1,
                       QStringLiteral("プリントスクリーンボタンを押してデスクトップ画像を取得すると自動的に"
                                      "ファイルに保存されます。そのためいちいち画像編集ソフトを起動して"
                                      "保存する手間が省けます。"),
                       QRect(16, 104, 265, 41))),
      Check1(new QCheckBox(QStringLiteral("起動時にデフォルトとして使用する。"), this)),
      Command1(new QPushButton(QStringLiteral("OK(&O)"), this)),
      m_host(host),
      m_settings(settings)
{
    setAttribute(Qt::WA_DeleteOnClose);
    ApplyWindowFont(*this);
    setWindowTitle(QStringLiteral("Scrimble"));
    setFixedSize(310, 197);
    Frame1->setGeometry(8, 8, 289, 153);
    Option1->setGeometry(8, 16, 257, 17);
    Option2->setGeometry(8, 80, 257, 17);
    Check1->setGeometry(16, 168, 209, 25);
    Command1->setGeometry(232, 168, 65, 25);
    Option1->setChecked(true);
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &SelectMode::Command1_Click);
}

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
    const bool desktop = Option1->isChecked();
    const ModeOpenResult result = desktop ? m_host.openDesktopCapture() : m_host.openPrintScreenSave();
    if (result == ModeOpenResult::NotOpened) {
        show();
        return;
    }
    if (result == ModeOpenResult::Opened) {
        m_settings.writeText(StartSection, QStringLiteral("Boolean"),
                             Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        m_settings.writeText(StartSection, QStringLiteral("Mode"),
                             desktop ? QStringLiteral("1") : QStringLiteral("0"));
    }
    unload();
}

void SelectMode::unload()
{
    hide();
    deleteLater();
}
