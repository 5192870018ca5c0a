#include "QtClipboard.h"

#include "imaging/dibimage.h"

#include <cstring>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace {

// Qt's PNG writer at its fastest compression: a paste asks for image/png first, and
// Qt's default level took ten times as long as the rest of the copy.
constexpr int FastPngQuality = 90;

QImage imageOf(const DibSnapshot& image)
{
    QImage copy(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(copy.scanLine(y));
        const std::uint32_t* pixels = image.rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        for (int x = 0; x < image.width; ++x)
            row[x] = 0xFF000000u | pixels[x];
    }
    return copy;
}

}  // namespace

QtClipboard::QtClipboard()
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
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    copy.save(&buffer, "PNG", FastPngQuality);
    auto* data = new QMimeData;
    data->setImageData(copy);
    data->setData(QStringLiteral("image/png"), png);
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
    const QImage image = QGuiApplication::clipboard()->image(QClipboard::Clipboard);
    if (image.isNull())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    holder.resize(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(holder.row(y), rgb.constScanLine(y), holder.stride() * sizeof(std::uint32_t));
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
