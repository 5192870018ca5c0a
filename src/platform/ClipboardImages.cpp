#include "ClipboardImages.h"

#include "imaging/dibimage.h"

#include <QBuffer>
#include <QMimeData>

#include <mutex>

namespace {

// Qt's PNG writer takes a quality and turns it into the compression level: 100 is
// level 0, which Qt still packs with zlib, and which pastes fastest.
constexpr int FastestPngQuality = 100;

const QString PngType = QStringLiteral("image/png");
const QString QtImageType = QStringLiteral("application/x-qt-image");

class ImageOnRequest final : public QMimeData
{
public:
    explicit ImageOnRequest(QImage image) : m_image(std::move(image)) {}

    [[nodiscard]] QStringList formats() const override { return {QtImageType, PngType}; }

protected:
    // Qt offers every other image type from the image when asked for the Qt type.
    [[nodiscard]] QVariant retrieveData(const QString& type, QMetaType wanted) const override
    {
        if (type == PngType) {
            std::call_once(m_encoded, [this] { m_png = fastPng(m_image); });
            return m_png;
        }
        if (type == QtImageType && wanted.id() != QMetaType::QByteArray)
            return m_image;
        return {};
    }

private:
    QImage m_image;
    mutable std::once_flag m_encoded;
    mutable QByteArray m_png;
};

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
    image.save(&buffer, "PNG", FastestPngQuality);
    return png;
}

QMimeData* imageOnRequest(const QImage& image)
{
    return new ImageOnRequest(image);
}
