#include "ClipboardImages.h"

#include "imaging/dibimage.h"

#include <QBuffer>

#include <cstring>

namespace {

constexpr int FastPngQuality = 90;

}  // namespace

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

QByteArray fastPng(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", FastPngQuality);
    return png;
}

bool holdPicture(const QImage& picture, DeviceContext& holder)
{
    if (picture.isNull())
        return false;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    holder.resize(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(holder.row(y), rgb.constScanLine(y), holder.stride() * sizeof(std::uint32_t));
    return true;
}
