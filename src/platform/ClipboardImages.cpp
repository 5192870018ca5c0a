#include "ClipboardImages.h"

#include "imaging/dibimage.h"

#include <QMimeData>

#include <future>

namespace {

const QString PngType = QStringLiteral("image/png");
const QString QtImageType = QStringLiteral("application/x-qt-image");

class ImageOnRequest final : public QMimeData
{
public:
    explicit ImageOnRequest(const QImage& image)
        : m_image(image)
        , m_png(std::async(std::launch::async, [image] { return fastPng(image); }).share())
    {}

    [[nodiscard]] QStringList formats() const override { return {QtImageType, PngType}; }

protected:
    // Qt offers every other image type from the image when asked for the Qt type.
    [[nodiscard]] QVariant retrieveData(const QString& type, QMetaType wanted) const override
    {
        if (type == PngType)
            return m_png.get();
        if (type == QtImageType && wanted.id() != QMetaType::QByteArray)
            return m_image;
        return {};
    }

private:
    QImage m_image;
    std::shared_future<QByteArray> m_png;  // made on a thread of its own from the copy on
};

}  // namespace

QImage imageOf(const DeviceContext& picture, int width, int height)
{
    QImage copy(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(copy.scanLine(y));
        const std::uint32_t* pixels = picture.row(y);
        for (int x = 0; x < width; ++x)
            row[x] = 0xFF000000u | pixels[x];
    }
    return copy;
}

QByteArray fastPng(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<std::uint8_t> png;
    if (!QuickPng(reinterpret_cast<const std::uint32_t*>(rgb.constBits()), rgb.width(), rgb.height(),
                  static_cast<std::size_t>(rgb.bytesPerLine()) / sizeof(std::uint32_t), png))
        return {};
    return {reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size())};
}

QMimeData* imageOnRequest(const QImage& image) { return new ImageOnRequest(image); }
