#include "QtClipboard.h"

#include "ClipboardImages.h"
#include "imaging/dibimage.h"

#include <QClipboard>
#include <QGuiApplication>

QtClipboard::QtClipboard(bool seesCopiesWithoutFocus) : m_withoutFocus(seesCopiesWithoutFocus) {}

// Nothing is encoded now: the PNG is made when a paste first asks for it.
void QtClipboard::setImage(const DibSnapshot& image)
{
    QGuiApplication::clipboard()->setMimeData(imageOnRequest(imageOf(image)), QClipboard::Clipboard);
}
