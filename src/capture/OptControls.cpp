#include "OptControls.h"

#include "shared/Controls.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>

namespace {

QGroupBox* frame(QWidget* parent, OptControls& c, int index, const char* caption)
{
    auto* box = named(new QGroupBox(QString::fromUtf8(caption), parent), qPrintable(QStringLiteral("Frame%1").arg(index)));
    new QVBoxLayout(box);
    c.Frame[static_cast<std::size_t>(index)] = box;
    return box;
}

// Option buttons in a frame, ids 0.. in caption order.
QButtonGroup* options(QGroupBox* box, const char* name, std::initializer_list<const char*> captions)
{
    return OptionButtons(box, static_cast<QBoxLayout*>(box->layout()), name, captions);
}

QCheckBox* check(QGroupBox* box, const char* name, const char* caption)
{
    auto* created = named(new QCheckBox(QString::fromUtf8(caption), box), name);
    box->layout()->addWidget(created);
    return created;
}

// A number field with its slider and the slider's end labels, as one row of a frame.
QSlider* numberRow(QGroupBox* box, QLineEdit*& field, const char* fieldName, const char* sliderName, const char* title,
                   const char* low, const char* high, int lowest, int highest)
{
    std::array<QLabel*, 3> labels{};
    auto* row = new QWidget(box);
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    labels[0] = new QLabel(QString::fromUtf8(title), row);
    // The field sits alone in a holder of fixed size, where its spin button can take
    // the field's right edge without a layout moving either.
    auto* holder = new QWidget(row);
    holder->setFixedSize(100, 24);
    field = named(new QLineEdit(holder), fieldName);
    field->setGeometry(0, 0, 100, 24);
    auto* slider = named(new QSlider(Qt::Horizontal, row), sliderName);
    slider->setRange(lowest, highest);
    slider->setSingleStep(1);
    slider->setPageStep(5);
    labels[1] = new QLabel(QString::fromUtf8(low), row);
    labels[2] = new QLabel(QString::fromUtf8(high), row);
    labels[2]->setAlignment(Qt::AlignRight);
    grid->addWidget(labels[0], 0, 0);
    grid->addWidget(holder, 0, 1);
    grid->addWidget(slider, 1, 0, 1, 3);
    grid->addWidget(labels[1], 2, 0);
    grid->addWidget(labels[2], 2, 2);
    box->layout()->addWidget(row);
    return slider;
}

void buildBmp(QWidget* client, QGridLayout* grid, OptControls& c)
{
    c.Option4 = options(frame(client, c, 5, "ビット変調"), "Option4",
                        {"24Bit（True Color)", "16Bit（High Color)", "8Bit"});
    grid->addWidget(c.Frame[5], 0, 0);
    QGroupBox* bmp = frame(client, c, 1, "BMP保存時設定（8Bit時のみ）");
    c.Check1 = check(bmp, "Check1", "RLE化");
    c.Option1 = options(frame(bmp, c, 2, "色データボックスの区切り方"), "Option1",
                        {"最大値と最小値の差が大きい色（デフォルト）", "最大値と最小値から計算した明るさの差"});
    c.Option2 = options(frame(bmp, c, 3, "各ボックスからの色の選定方法"), "Option2",
                        {"ボックス中の中間の色（デフォルト）", "ボックス中に存在する色の平均値", "ボックス中の全ての点の平均値"});
    c.Option3 = options(frame(bmp, c, 4, "パレットからの色の選定方法"), "Option3",
                        {"RGBの距離が最短のもの（デフォルト）", "明るさの距離が最短のもの", "YCrCb成分の距離が最短のもの"});
    for (int i : {2, 3, 4})
        bmp->layout()->addWidget(c.Frame[static_cast<std::size_t>(i)]);
    grid->addWidget(bmp, 1, 0, 3, 1);
}

void buildJpegAndPng(QWidget* client, QGridLayout* grid, OptControls& c)
{
    QGroupBox* jpeg = frame(client, c, 6, "JPEG保存時設定");
    c.Slider2 = numberRow(jpeg, c.Text2, "Text2", "Slider2", "JPEG圧縮率", "高圧縮低画質", "低圧縮高画像", 1, 100);
    c.Check2 = check(jpeg, "Check2", "プログレッシブJPEG");
    grid->addWidget(jpeg, 0, 1);
    c.Option5 = options(frame(client, c, 9, "PING保存時設定"), "Option5", {"普通", "詳細"});
    grid->addWidget(c.Frame[9], 1, 1);
    QGroupBox* png = frame(client, c, 7, "PING保存時詳細設定");
    c.Check4 = check(png, "Check4", "インターレースPING");
    c.Slider3 = numberRow(png, c.Text3, "Text3", "Slider3", "PING圧縮率", "低圧縮", "高圧縮", 0, 9);
    c.Slider4 = numberRow(png, c.Text4, "Text4", "Slider4", "ガンマ補正", "", "", 0, 100000);
    c.Command1 = named(new QPushButton(QStringLiteral("Winデフォルト"), png), "Command1");
    c.Command2 = named(new QPushButton(QStringLiteral("Macデフォルト"), png), "Command2");
    png->layout()->addWidget(c.Command1);
    png->layout()->addWidget(c.Command2);
    grid->addWidget(png, 2, 1);
    QGroupBox* filters = frame(client, c, 8, "フィルター");
    const char* captions[] = {"横方向に似たような色が続く部分が多い場合", "縦方向に似たような色が続く部分が多い場合",
                              "似たような変化の色をもった領域", "なだらかな色の領域"};
    for (std::size_t k = 0; k < c.Check3.size(); ++k) {
        c.Check3[k] = check(filters, "Check3", captions[k]);
        c.Check3[k]->setProperty("index", static_cast<int>(k));
    }
    auto* note = named(new QLabel(QStringLiteral("上記のうち当てはまるものにチェックすると、ファイルの圧縮率が高くなる場合があります。"),
                                  filters), "Label9");
    note->setWordWrap(true);
    filters->layout()->addWidget(note);
    grid->addWidget(filters, 3, 1);
}

void buildGreyAndButtons(QWidget* client, QGridLayout* grid, OptControls& c)
{
    QGroupBox* grey = frame(client, c, 10, "グレースケール");
    c.Option6 = options(grey, "Option6", {"グレースケール", "RGB"});
    c.Slider1 = numberRow(grey, c.Text1, "Text1", "Slider1", "淡色化処理", "無処理", "グレー　　スケール", 0, 255);
    auto* note = named(new QLabel(QStringLiteral("グレースケールでは、BMPでは対応しますが、JPEGでは変換されません。"
                                                 "JPEGでグレースケールのままで保存する場合にはRGBに変換してから保存するように設定出来ます。"),
                                  grey), "Label12");
    note->setWordWrap(true);
    grey->layout()->addWidget(note);
    grid->addWidget(grey, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    c.Command5 = named(new QPushButton(QStringLiteral("更新(&R)"), client), "Command5");
    c.Command3 = named(new QPushButton(QStringLiteral("全デフォルト(&D)"), client), "Command3");
    c.Command4 = named(new QPushButton(QStringLiteral("閉じる(&C)"), client), "Command4");
    for (QPushButton* button : {c.Command5, c.Command3, c.Command4})
        buttons->addWidget(button);
    grid->addLayout(buttons, 5, 0, 1, 2);
}

void buildMenus(QMainWindow& window, OptControls& c)
{
    QMenu* file = named(window.menuBar()->addMenu(QStringLiteral("ファイル(&F)")), "file");
    c.defaults = named(file->addAction(QStringLiteral("全てデフォルト(&D)")), "default");
    named(file->addSeparator(), "line1");
    c.close = named(file->addAction(QStringLiteral("閉じる(&C)")), "close");
    QMenu* option = named(window.menuBar()->addMenu(QStringLiteral("設定（&O）")), "option");
    c.take = named(option->addAction(QStringLiteral("解像度(&T)")), "take");
}

}  // namespace

OptControls BuildOptControls(QMainWindow& window)
{
    OptControls controls;
    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    auto* grid = new QGridLayout(client);
    window.setCentralWidget(client);
    buildBmp(client, grid, controls);
    buildJpegAndPng(client, grid, controls);
    buildGreyAndButtons(client, grid, controls);
    buildMenus(window, controls);
    return controls;
}
