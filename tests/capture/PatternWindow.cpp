#include "PatternWindow.h"

#include "CaptureFixture.h"
#include "X11Desktop.h"

#include <QPainter>
#include <QTest>

PatternWindow::PatternWindow(QSize size)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint)
    , m_image(size, QImage::Format_RGB32)
{
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            m_image.setPixel(x, y, PatternPixel(x, y));
    // One pattern pixel on each screen pixel, whatever Qt's scale.
    m_image.setDevicePixelRatio(devicePixelRatioF());
    setGeometry(QRect(QPoint(0, 0), (QSizeF(size) / devicePixelRatioF()).toSize()));
}

bool PatternWindow::showAndSettle()
{
    show();
    const bool exposed = QTest::qWaitForWindowExposed(this);
    QTest::qWait(500);
    return exposed;
}

void PatternWindow::invert()
{
    m_image.invertPixels();
    update();
}

bool PatternWindow::isShownAt(QPoint at) const
{
    return (X11Desktop::pixelAt(at) & 0xFFFFFFu) == (m_image.pixel(at) & 0xFFFFFFu);
}

void PatternWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}
