#include "CaptureFormat.h"

#include "platform/FileNameText.h"

namespace {

constexpr int FullGrey = 255;

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

ImageWrite ImageWriteOf(const CaptureFormat& format)
{
    ImageWrite write;
    write.format = format.format;
    write.depth = format.depth;
    write.rle = format.rle;
    write.grey = format.grey ? FullGrey : 0;
    write.quality = format.quality;
    write.progressive = format.progressive ? 1 : 0;
    write.png = PngRecordOf(format);
    return write;
}

DibStatus ConvertForBmp(DIBHandle image, const CaptureFormat& format)
{
    return ConvertForFile(image, ImageWriteOf(format));
}

DibStatus WriteCapture(DIBHandle image, const CaptureFormat& format, const QString& fileName, ExistingFile existing,
                       PngMemory* memory)
{
    return WriteConverted(image, ImageWriteOf(format), FileNameText::encode(fileName).toStdString(), existing, memory);
}
