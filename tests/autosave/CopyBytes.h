#pragma once
// What another program puts on the clipboard: an image file's bytes, made by the
// image library from a picture of one colour.

#include "ImagingTestSupport.h"

#include <QByteArray>

enum class CopyType { Png, Bmp8 };

[[nodiscard]] inline QByteArray asBytes(const std::vector<std::uint8_t>& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

// A 32 x 24 picture of colour (0xRRGGBB) as a PNG file, or an 8-bit BMP file.
[[nodiscard]] inline QByteArray copyBytes(std::uint32_t colour, CopyType type)
{
    TempDir dir;
    const DibGuard image(makeImage(32, 24, [colour](int, int) { return colour; }));
    const std::string path = dir.file("copy");
    if (type == CopyType::Png)
        static_cast<void>(DIBtoPNG(path, image.get(), 0));
    else if (DIBto8Bit(image.get(), 0, 0))
        static_cast<void>(DIBtoBMP(path, image.get()));
    return asBytes(readFileBytes(path));
}
