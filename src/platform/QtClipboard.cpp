#include "QtClipboard.h"

#include "imaging/dibimage.h"

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
