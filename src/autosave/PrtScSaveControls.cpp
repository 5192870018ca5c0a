#include "PrtScSaveControls.h"

#include "shared/Controls.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

#include <utility>
#include <QPushButton>

namespace {

QLabel* label(QWidget* parent, const char* name, const char* text)
{
    return named(new QLabel(QString::fromUtf8(text), parent), name);
}

// The long explanations in a smaller type, wrapped, so that the window keeps its size.
QLabel* help(QWidget* parent, const char* name, const char* text)
{
    QLabel* created = label(parent, name, text);
    created->setWordWrap(true);
    QFont font = created->font();
    font.setPointSizeF(font.pointSizeF() * 0.8);
    created->setFont(font);
    return created;
}

// Frames with little space around their contents.
template<typename Layout>
Layout* tight(Layout* layout)
{
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(1);
    return layout;
}

// The field alone in a holder of fixed size, so that a spin button can take the
// field's right edge without a layout moving either.
QWidget* fieldHolder(QWidget* parent, QLineEdit*& field, const char* name, int width)
{
    auto* holder = new QWidget(parent);
    holder->setFixedSize(width, 22);
    field = named(new QLineEdit(holder), name);
    field->setGeometry(0, 0, width, 22);
    return holder;
}

void buildNaming(QWidget* client, QGridLayout* grid, PrtScSaveControls& c)
{
    grid->addWidget(label(client, "Label1", "保存先フォルダ名："), 0, 0);
    c.Text1 = named(new QLineEdit(client), "Text1");
    c.Text1->setReadOnly(true);
    grid->addWidget(c.Text1, 0, 1, 1, 4);
    c.Command1 = named(new QPushButton(QStringLiteral("..."), client), "Command1");
    c.Command1->setFixedWidth(32);
    grid->addWidget(c.Command1, 0, 5);
    grid->addWidget(label(client, "Label2", "保存ファイル名："), 1, 0);
    c.Text2 = named(new QLineEdit(client), "Text2");
    grid->addWidget(c.Text2, 1, 1, 1, 5);
    grid->addWidget(help(client, "Label3",
                         "保存ファイル名に半角シャープ記号(#)を入力することにより連番ファイルとして保存できます。"),
                    2, 0, 1, 6);
    grid->addWidget(label(client, "Label4", "連番開始数値"), 3, 0);
    grid->addWidget(fieldHolder(client, c.Text3, "Text3", 90), 3, 1);
    grid->addWidget(label(client, "Label5", "連番最大値"), 3, 2);
    c.Text4 = named(new QLineEdit(client), "Text4");
    c.Text4->setReadOnly(true);
    grid->addWidget(c.Text4, 3, 3);
    c.Command2 = named(new QPushButton(QStringLiteral("連番開始値検索"), client), "Command2");
    grid->addWidget(c.Command2, 3, 4, 1, 2);
    grid->addWidget(help(client, "Label6", "保存フォルダ先に指定ファイル名で保存できる最も小さな数値を検索します。"),
                    4, 0, 1, 6);
    c.Check1 = named(new QCheckBox(QStringLiteral("既存ファイルの上書きを許可する"), client), "Check1");
    grid->addWidget(c.Check1, 5, 0, 1, 6);
    grid->addWidget(help(client, "Label7",
                         "連番開始値からファイルを保存する際、すでに同ファイルが存在してもスキップせずに上書き保存します。"
                         "ただし、現在の連番値が連番最大値を超した場合には連番値を0とし、ファイル名の後に\"_$\""
                         "($は0以上で、保存できる最も小さい数値とする)にファイル名が変換されます。"),
                    6, 0, 1, 6);
}

QGroupBox* settingsFrame(QWidget* parent, PrtScSaveControls& c, std::size_t index, const char* caption)
{
    auto* box = named(new QGroupBox(QString::fromUtf8(caption), parent), "Frame2");
    box->setProperty("index", static_cast<int>(index));
    c.Frame2[index] = box;
    return box;
}

void buildBmp(QGroupBox* bmp, PrtScSaveControls& c)
{
    auto* layout = tight(new QVBoxLayout(bmp));
    c.Option2 = OptionButtons(bmp, layout, "Option2", {"24bit", "16bit", "8bit"});
    c.Check2 = named(new QCheckBox(QStringLiteral("RLE化"), bmp), "Check2");
    c.Check3 = named(new QCheckBox(QStringLiteral("グレースケール"), bmp), "Check3");
    layout->addWidget(c.Check2);
    layout->addWidget(c.Check3);
}

// A settings frame of one number field: its caption, the field, the range and any
// further notes, then its check box.
void numberSettings(QGroupBox* box, QLineEdit*& field, const char* fieldName,
                    std::initializer_list<std::pair<const char*, const char*>> notes, QCheckBox*& check,
                    const char* checkName, const char* checkCaption, const char* captionName)
{
    auto* layout = tight(new QVBoxLayout(box));
    layout->addWidget(label(box, captionName, "圧縮率"));
    layout->addWidget(fieldHolder(box, field, fieldName, 70));
    for (const auto& [name, text] : notes)
        layout->addWidget(help(box, name, text));
    check = named(new QCheckBox(QString::fromUtf8(checkCaption), box), checkName);
    layout->addWidget(check);
}

void buildFormat(QWidget* client, QGridLayout* grid, PrtScSaveControls& c)
{
    c.Frame1 = named(new QGroupBox(QStringLiteral("保存形式"), client), "Frame1");
    auto* frameGrid = tight(new QGridLayout(c.Frame1));
    auto* choice = new QHBoxLayout;
    c.Option1 = OptionButtons(c.Frame1, choice, "Option1", {"BMP形式", "JPG形式", "PNG形式"});
    frameGrid->addLayout(choice, 0, 0, 1, 3);
    buildBmp(settingsFrame(c.Frame1, c, 0, "BMP設定"), c);
    numberSettings(settingsFrame(c.Frame1, c, 1, "JPG設定"), c.Text5, "Text5", {{"Label9", "1(高圧縮)～100(高画質)"}},
                   c.Check4, "Check4", "プログレッシブ", "Label8");
    numberSettings(settingsFrame(c.Frame1, c, 2, "PNG設定"), c.Text6, "Text6",
                   {{"Label11", "0(低圧縮)～9(高圧縮)"}, {"Label12", "圧縮率を高くしても画質の劣化はありません。"}},
                   c.Check5, "Check5", "インターレース", "Label10");
    for (std::size_t i = 0; i < c.Frame2.size(); ++i)
        frameGrid->addWidget(c.Frame2[i], 1, static_cast<int>(i), Qt::AlignTop);
    grid->addWidget(c.Frame1, 7, 0, 1, 6);
}

void buildWatch(QWidget* client, QGridLayout* grid, PrtScSaveControls& c)
{
    grid->addWidget(label(client, "Label13", "時間間隔"), 8, 0);
    grid->addWidget(fieldHolder(client, c.Text7, "Text7", 90), 8, 1);
    grid->addWidget(label(client, "Label14", "ms"), 8, 2);
    c.Command3 = named(new QPushButton(QStringLiteral("取得開始(&S)"), client), "Command3");
    c.Command4 = named(new QPushButton(QStringLiteral("取得終了(&E)"), client), "Command4");
    c.Command4->setEnabled(false);
    grid->addWidget(c.Command3, 8, 3, 1, 2);
    grid->addWidget(c.Command4, 8, 5);
    grid->addWidget(help(client, "Label15", "クリップボード内を調べる時間間隔をms (1000分の1秒)単位で指定できます。"),
                    9, 0, 1, 6);
    c.note = help(client, "note", "");
    c.note->hide();
    grid->addWidget(c.note, 10, 0, 1, 6);
}

}  // namespace

PrtScSaveControls BuildPrtScSaveControls(QMainWindow& window)
{
    PrtScSaveControls controls;
    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(478, 416);
    auto* grid = new QGridLayout(client);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(1);
    window.setCentralWidget(client);
    buildNaming(client, grid, controls);
    buildFormat(client, grid, controls);
    buildWatch(client, grid, controls);
    controls.Fil = named(window.menuBar()->addMenu(QStringLiteral("ファイル(&F)")), "Fil");
    controls.EndPro = named(controls.Fil->addAction(QStringLiteral("終了(&E)")), "EndPro");
    controls.SelectM = named(controls.Fil->addAction(QStringLiteral("機能選択画面(&S)")), "SelectM");
    return controls;
}
