#include "QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

void QtClipboard::setImage(const QImage& image)
{
    QGuiApplication::clipboard()->setImage(image, QClipboard::Clipboard);
}
