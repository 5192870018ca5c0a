#pragma once
// The one way an image becomes a file, for every mode: a format with its settings as
// the image library takes them. Each mode translates its own settings into this
// record; the conversion for the file and the writer chosen follow from it alone.

#include "ImageFiles.h"
#include "imaging/dibimage.h"

#include <cstdint>
#include <optional>
#include <string>

struct ImageWrite {
    SaveFormat format = SaveFormat::Bmp;
    BmpDepth depth = BmpDepth::Bits24;  // BMP
    std::uint32_t reduction = 0;        // BMP at 8 bits: DIBto8Bit's method flags
    bool rle = false;                   // BMP at 8 bits
    int grey = 0;                       // BMP: GrayDIB's strength after the depth and RLE; 0 none
    int quality = 60;                   // JPEG, 1..100
    int progressive = 0;                // JPEG: DIBtoJPG's argument, non-zero for progressive
    std::optional<PngOptions> png;      // PNG: DIBtoPNGex's record; none for the plain writer
};

// The depth alone, in place: 16 bits, 8 bits with the method flags, or 24 bits.
[[nodiscard]] DibStatus ConvertDepth(DIBHandle image, BmpDepth depth, std::uint32_t reduction);
// BMP only, on the image in place: the depth, then RLE (8 bits only), then grey.
// JPEG and PNG are written from the image as it is.
[[nodiscard]] DibStatus ConvertForFile(DIBHandle image, const ImageWrite& write);
// Writes an image already converted. The plain PNG writer always replaces, so with
// ExistingFile::Keep the record-less PNG goes through DIBtoPNGex with no field given,
// which writes the same file. memory: DIBtoPNGex's, for a PNG with a record.
[[nodiscard]] DibStatus WriteConverted(DIBHandle image, const ImageWrite& write, const std::string& path,
                                       ExistingFile existing, PngMemory* memory = nullptr);
// Both steps.
[[nodiscard]] DibStatus WriteImageFile(DIBHandle image, const ImageWrite& write, const std::string& path,
                                       ExistingFile existing);
