#include "ScreenWait.h"

#include "shared/Controls.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ScreenWait::ScreenWait() : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Scrimble"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(named(new QLabel(QStringLiteral("画面の取得をデスクトップが許可するのを待っています。"), this),
                            "Label1"));
    auto* cancel = named(new QPushButton(QStringLiteral("キャンセル(&C)"), this), "Command1");
    layout->addWidget(cancel, 0, Qt::AlignRight);
    connect(cancel, &QPushButton::clicked, this, &ScreenWait::close);
}

void ScreenWait::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit cancelled();
}
