#include "X11Clipboard.h"

#include "ClipboardImages.h"
#include "imaging/dibimage.h"

#include <QClipboard>
#include <QGuiApplication>

X11Clipboard::X11Clipboard(bool seesCopiesWithoutFocus) : m_withoutFocus(seesCopiesWithoutFocus) {}

// The PNG is encoded at once, on a thread of its own: the window does not wait for it,
// and a paste soon after finds it ready.
void X11Clipboard::setImage(const DeviceContext& picture, int width, int height)
{
    QGuiApplication::clipboard()->setMimeData(imageOnRequest(imageOf(picture, width, height)), QClipboard::Clipboard);
}

void X11Clipboard::whenImageReleased(std::function<void()> released)
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
