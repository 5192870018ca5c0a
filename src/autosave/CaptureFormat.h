#pragma once
// How each clipboard image is written: the format and its settings as the auto-save
// window shows them, and the writing itself (depth, RLE and grey scale apply to BMP
// only; JPEG and PNG are written from the image as it came).

#include "shared/ImageWriter.h"

#include <QString>

struct CaptureFormat {
    SaveFormat format = SaveFormat::Bmp;
    BmpDepth depth = BmpDepth::Bits24;
    bool rle = false;          // 8-bit BMP only
    bool grey = false;         // BMP only
    bool progressive = false;  // JPEG
    bool interlaced = false;   // PNG
    int quality = 60;          // JPEG, 1..100
    int level = 6;             // PNG, 0..9
};

// ".bmp", ".jpg" or ".png".
[[nodiscard]] QString ExtensionOf(SaveFormat format);
// The PNG record: the level always given, interlacing when asked; no filters, no gamma.
[[nodiscard]] PngOptions PngRecordOf(const CaptureFormat& format);
// What the settings mean for the file: grey scale is full grey.
[[nodiscard]] ImageWrite ImageWriteOf(const CaptureFormat& format);
// BMP only: the depth, then RLE (8 bits only), then grey scale, on the image in place.
[[nodiscard]] DibStatus ConvertForBmp(DIBHandle image, const CaptureFormat& format);
// Writes the image (already converted for BMP) to fileName in the chosen format.
[[nodiscard]] DibStatus WriteCapture(DIBHandle image, const CaptureFormat& format, const QString& fileName,
                                     ExistingFile existing);
