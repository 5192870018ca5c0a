#include "QtClipboard.h"

#include "ClipboardImages.h"
#include "imaging/dibimage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>


QtClipboard::QtClipboard(bool seesCopiesWithoutFocus) : m_withoutFocus(seesCopiesWithoutFocus)
{
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &m_context, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            m_changed = true;
    });
}

// The PNG is made once, at the copy; every other image type is made by Qt when a
// paste asks for it.
void QtClipboard::setImage(const DibSnapshot& image)
{
    const QImage copy = imageOf(image);
    auto* data = new QMimeData;
    data->setImageData(copy);
    data->setData(QStringLiteral("image/png"), fastPng(copy));
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

bool QtClipboard::hasImage()
{
    if (m_changed) {
        m_changed = false;
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        m_hasImage = data && data->hasImage();
    }
    return m_hasImage;
}

bool QtClipboard::takeImage(DeviceContext& holder)
{
    // The time is read first: a copy made while the image travels is newer and stays.
    const std::uint32_t takenAt = m_watch.latestChange();
    if (!holdPicture(QGuiApplication::clipboard()->image(QClipboard::Clipboard), holder))
        return false;
    m_takenAt = takenAt;
    return true;
}

void QtClipboard::clearTaken()
{
    clearSince(m_takenAt);
}

void QtClipboard::clear()
{
    clearSince(0);
}

// Without our own watch Qt clears, on its own last known time.
void QtClipboard::clearSince(std::uint32_t since)
{
    if (!m_watch.clearUnlessChangedAfter(since))
        QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    m_changed = true;
}
