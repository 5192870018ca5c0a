#include "CaptureFormat.h"

#include "platform/FileNameText.h"

namespace {

constexpr int FullGrey = 255;

DibStatus convertDepth(DIBHandle image, BmpDepth depth)
{
    switch (depth) {
    case BmpDepth::Bits16: return DIBto16Bit(image, 0);
    case BmpDepth::Bits8: return DIBto8Bit(image, 0, 0);
    case BmpDepth::Bits24: break;
    }
    return DIBto24Bit(image);
}

}  // namespace

QString ExtensionOf(SaveFormat format)
{
    switch (format) {
    case SaveFormat::Jpeg: return QStringLiteral(".jpg");
    case SaveFormat::Png: return QStringLiteral(".png");
    case SaveFormat::Bmp: break;
    }
    return QStringLiteral(".bmp");
}

PngOptions PngRecordOf(const CaptureFormat& format)
{
    PngOptions record;
    record.flags = PngOptions::LevelGiven | (format.interlaced ? PngOptions::Interlaced : 0u);
    record.level = static_cast<std::uint16_t>(format.level);
    return record;
}

DibStatus ConvertForBmp(DIBHandle image, const CaptureFormat& format)
{
    if (format.format != SaveFormat::Bmp)
        return {};
    if (const DibStatus status = convertDepth(image, format.depth); !status)
        return status;
    if (format.depth == BmpDepth::Bits8 && format.rle)
        if (const DibStatus status = DIBtoRLE(image); !status)
            return status;
    return format.grey ? GrayDIB(image, FullGrey) : DibStatus{};
}

DibStatus WriteCapture(DIBHandle image, const CaptureFormat& format, const QString& fileName, ExistingFile existing)
{
    const std::string path = FileNameText::encode(fileName).toStdString();
    switch (format.format) {
    case SaveFormat::Jpeg: return DIBtoJPG(path, image, format.quality, format.progressive ? 1 : 0, existing);
    case SaveFormat::Png: return DIBtoPNGex(path, image, PngRecordOf(format), existing);
    case SaveFormat::Bmp: break;
    }
    return DIBtoBMP(path, image, existing);
}
