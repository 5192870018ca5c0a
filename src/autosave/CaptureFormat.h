#pragma once
// How each clipboard image is written: the format's settings (CaptureFormat, as the
// auto-save window shows them) in the image library's terms, and the writing itself
// (depth, RLE and grey scale apply to BMP only; JPEG and PNG are written from the
// image as it came).

#include "AutoSaveFields.h"
#include "shared/ImageWriter.h"

#include <QString>

// ".bmp", ".jpg" or ".png".
[[nodiscard]] QString ExtensionOf(SaveFormat format);
// The PNG record: the level always given, interlacing when asked; no filters, no gamma.
[[nodiscard]] PngOptions PngRecordOf(const CaptureFormat& format);
// What the settings mean for the file: grey scale is full grey.
[[nodiscard]] ImageWrite ImageWriteOf(const CaptureFormat& format);
// BMP only: the depth, then RLE (8 bits only), then grey scale, on the image in place.
[[nodiscard]] DibStatus ConvertForBmp(DIBHandle image, const CaptureFormat& format);
// Writes the image (already converted for BMP) to fileName in the chosen format;
// memory as for WriteConverted.
[[nodiscard]] DibStatus WriteCapture(DIBHandle image, const CaptureFormat& format, const QString& fileName,
                                     ExistingFile existing, PngMemory* memory = nullptr);
