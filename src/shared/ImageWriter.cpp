#include "ImageWriter.h"

DibStatus ConvertDepth(DIBHandle image, BmpDepth depth, std::uint32_t reduction)
{
    switch (depth) {
    case BmpDepth::Bits16: {
        const std::int32_t reserved = 0;
        return DIBto16Bit(image, reserved);
    }
    case BmpDepth::Bits8: return DIBto8Bit(image, reduction, 0);
    case BmpDepth::Bits24: break;
    }
    return DIBto24Bit(image);
}

DibStatus ConvertForFile(DIBHandle image, const ImageWrite& write)
{
    if (write.format != SaveFormat::Bmp)
        return {};
    if (const DibStatus status = ConvertDepth(image, write.depth, write.reduction); !status)
        return status;
    if (write.depth == BmpDepth::Bits8 && write.rle)
        if (const DibStatus status = DIBtoRLE(image); !status)
            return status;
    return write.grey > 0 ? GrayDIB(image, write.grey) : DibStatus{};
}

DibStatus WriteConverted(DIBHandle image, const ImageWrite& write, const std::string& path, ExistingFile existing,
                         PngMemory* memory)
{
    switch (write.format) {
    case SaveFormat::Jpeg: return DIBtoJPG(path, image, write.quality, write.progressive, existing);
    case SaveFormat::Png:
        if (write.png || existing == ExistingFile::Keep)
            return DIBtoPNGex(path, image, write.png.value_or(PngOptions{}), existing, memory);
        return DIBtoPNG(path, image, 0);
    case SaveFormat::Bmp: break;
    }
    return DIBtoBMP(path, image, existing);
}

DibStatus WriteImageFile(DIBHandle image, const ImageWrite& write, const std::string& path, ExistingFile existing)
{
    if (const DibStatus status = ConvertForFile(image, write); !status)
        return status;
    return WriteConverted(image, write, path, existing);
}
