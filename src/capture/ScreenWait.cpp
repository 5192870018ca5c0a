#include "ScreenWait.h"

#include "shared/WindowFont.h"

#include "ui_ScreenWait.h"

#include <QCloseEvent>

ScreenWait::ScreenWait() : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    Ui::ScreenWait ui;
    ui.setupUi(this);
    ApplyWindowFont(*this);
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(ui.Command1, &QPushButton::clicked, this, &ScreenWait::close);
}

void ScreenWait::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit cancelled();
}
