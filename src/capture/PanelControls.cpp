#include "PanelControls.h"

#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 432;   // pixels, below the menu bar
constexpr int ClientHeight = 204;
constexpr int ButtonLeft = 220;
constexpr int ButtonWidth = 204;
constexpr int ButtonHeight = 26;
constexpr int ButtonPitch = 32;

template<typename Widget>
Widget* place(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* widget = new Widget(text, parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLineEdit* field(QWidget* parent, const char* name, QRect geometry)
{
    return place<QLineEdit>(parent, name, QStringLiteral("0"), geometry);
}

QAction* item(QMenu* menu, const char* name, const QString& caption, const char* shortcut = nullptr)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (shortcut)
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    return action;
}

QMenu* menu(QMainWindow& panel, const char* name, const QString& caption)
{
    QMenu* created = panel.menuBar()->addMenu(caption);
    created->setObjectName(QString::fromLatin1(name));
    return created;
}

void buildFields(QWidget* client, PanelControls& c)
{
    c.Label4 = place<QLabel>(client, "Label4", QStringLiteral("タイマ"), {8, 10, 64, 22});
    c.Text1 = field(client, "Text1", {76, 10, 72, 24});
    c.Label1 = place<QLabel>(client, "Label1", QStringLiteral("second"), {154, 10, 56, 22});
    c.Label2 = place<QLabel>(client, "Label2", QStringLiteral("画像倍率"), {8, 42, 64, 22});
    c.Text2 = field(client, "Text2", {76, 42, 72, 24});
    c.Text2->setText(QStringLiteral("100"));
    c.Label3 = place<QLabel>(client, "Label3", QStringLiteral("%"), {154, 42, 24, 22});

    c.Frame1 = place<QGroupBox>(client, "Frame1", QStringLiteral("座標入力"), {8, 72, 204, 124});
    const std::array<const char*, 4> captions{"終点", "Y座標", "始点", "X座標"};
    const std::array<QRect, 4> places{QRect{6, 74, 40, 24}, QRect{122, 22, 72, 18}, QRect{6, 44, 40, 24},
                                      QRect{46, 22, 72, 18}};
    for (std::size_t i = 0; i < c.Label5.size(); ++i) {
        c.Label5[i] = place<QLabel>(c.Frame1, "Label5", QString::fromUtf8(captions[i]), places[i]);
        c.Label5[i]->setProperty("index", static_cast<int>(i));
    }
    c.sX = field(c.Frame1, "sX", {46, 44, 74, 24});
    c.sY = field(c.Frame1, "sY", {122, 44, 74, 24});
    c.eX = field(c.Frame1, "eX", {46, 74, 74, 24});
    c.eY = field(c.Frame1, "eY", {122, 74, 74, 24});
    c.Command4 = place<QPushButton>(c.Frame1, "Command4", QStringLiteral("更新(&R)"), {46, 100, 150, 20});
}

void buildButtons(QWidget* client, PanelControls& c)
{
    int top = 10;
    const auto button = [&](const char* name, const QString& caption) {
        auto* created = place<QPushButton>(client, name, caption, {ButtonLeft, top, ButtonWidth, ButtonHeight});
        top += ButtonPitch;
        return created;
    };
    c.Command11 = button("Command11", QStringLiteral("クリップボードにコピー(&B)"));
    c.Command10 = button("Command10", QString::fromUtf16(MinimiseDesktopDesignCaption));
    c.Command9 = button("Command9", QStringLiteral("全面選択(&A)"));
    c.Command8 = button("Command8", QStringLiteral("保存詳細(&O)"));
    c.Command1 = button("Command1", QStringLiteral("保存(&S)"));
    c.Command3 = button("Command3", QString::fromUtf16(ClearButtonCaption));
}

void buildMenus(QMainWindow& panel, PanelControls& c)
{
    c.file = menu(panel, "file", QStringLiteral("ﾌｧｲﾙ(&F)"));
    c.take = item(c.file, "take", QStringLiteral("画像保存(&T)"), "Ctrl+S");
    c.clear = item(c.file, "clear", QString::fromUtf16(ClearMenuCaption));
    c.file->addSeparator()->setObjectName(QStringLiteral("line0"));
    c.end = item(c.file, "end", QStringLiteral("終了(&E)"));
    c.save = item(c.file, "save", QStringLiteral("保存して終了(&S)"), "Ctrl+E");
    c.SelectM = item(c.file, "SelectM", QStringLiteral("機能選択画面(&M)"));

    c.oPtion = menu(panel, "oPtion", QStringLiteral("設定(&P)"));
    c.CC = item(c.oPtion, "CC", QStringLiteral("クリップボードにコピー(&C)"), "Ctrl+C");

    c.another = menu(panel, "another", QStringLiteral("その他(&A)"));
    c.screen = item(c.another, "screen", QStringLiteral("解像度(&S)"));
    c.another->addSeparator()->setObjectName(QStringLiteral("line1"));
    c.version = item(c.another, "version", QStringLiteral("バージョン(&V)"), "Ctrl+V");
}

// A button whose access key is also a menu's gives it up, so that Alt with that letter
// opens the menu every time instead of alternating between the two.
void yieldAccessKeysToMenus(QMainWindow& panel)
{
    for (const QAction* title : panel.menuBar()->actions())
        for (QPushButton* button : panel.findChildren<QPushButton*>())
            if (button->shortcut() == QKeySequence::mnemonic(title->text()))
                button->setShortcut(QKeySequence());
}

}  // namespace

PanelControls BuildPanelControls(QMainWindow& panel)
{
    PanelControls controls;
    auto* client = new QWidget(&panel);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    panel.setCentralWidget(client);
    buildFields(client, controls);
    buildButtons(client, controls);
    buildMenus(panel, controls);
    yieldAccessKeysToMenus(panel);
    return controls;
}
