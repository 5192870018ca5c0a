#include "QtClipboard.h"

#include "ClipboardImages.h"
#include "imaging/dibimage.h"

#include <QClipboard>
#include <QGuiApplication>

QtClipboard::QtClipboard(bool seesCopiesWithoutFocus) : m_withoutFocus(seesCopiesWithoutFocus) {}

// The PNG is encoded at once, on a thread of its own: the window does not wait for it,
// and a paste soon after finds it ready.
void QtClipboard::setImage(const DeviceContext& picture, int width, int height)
{
    QGuiApplication::clipboard()->setMimeData(imageOnRequest(imageOf(picture, width, height)), QClipboard::Clipboard);
}

void QtClipboard::whenImageReleased(std::function<void()> released)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    QObject::disconnect(m_releaseWatch);
    if (!clipboard->ownsClipboard()) {
        released();
        return;
    }
    m_releaseWatch = QObject::connect(clipboard, &QClipboard::changed, clipboard,
                                      [this, clipboard, released = std::move(released)](QClipboard::Mode mode) {
                                          if (mode != QClipboard::Clipboard || clipboard->ownsClipboard())
                                              return;
                                          QObject::disconnect(m_releaseWatch);
                                          released();
                                      });
}
