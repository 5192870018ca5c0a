#include "gazou.h"

#include "CaptureModel.h"
#include "ClickActivation.h"
#include "SurfacePainter.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

gazou::gazou(const CaptureModel& model)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_model(model)
{
    setWindowTitle(tr("取得画像"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_QuitOnClose, false);  // only the panel's unload ends the program
    new ClickActivation(*this);
    Form_Load();
}

void gazou::Form_Load()
{
    showPicture();
    move(0, 0);
}

void gazou::showPicture()
{
    const QSize picture = m_model.pictureSize();
    setFixedSize(WindowSizeFor(picture.width(), picture.height(), devicePixelRatioF()));
    update();
}

// The picture's pixels are the screen's, shown one to one whatever Qt's scale.
void gazou::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintSurface(painter, m_model.picture(), event->rect(), devicePixelRatioF());
}

void gazou::keyPressEvent(QKeyEvent* event) { emit functionKeyPressed(event->key()); }

void gazou::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

// Closing discards the window with its picture; the next use meets a new one, empty,
// at the top-left corner and of the design size. The mode empties the picture at
// once; resetting this object in place then gives the rest without deleting a widget
// inside its own event handler.
void gazou::Form_Unload()
{
    emit unloaded();
    Form_Load();
}
