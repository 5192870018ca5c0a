#pragma once
// The desktop capture mode's output options, as the options window edits them.
// Program-lifetime: one record lives in the application object; the picture refresh
// and the save read it, the options window writes it.

#include "shared/ImageFiles.h"

#include <array>
#include <cstdint>

// 16-bit Booleans as the options window stores them.
inline constexpr std::int16_t OptionTrue = -1;
inline constexpr std::int16_t OptionFalse = 0;

// The colour depth of the picture and of BMP files; the values are the options
// window's indices.
using ColorDepth = BmpDepth;

struct OutputOptions {
    ColorDepth BitDepth = ColorDepth::Bits24;
    std::int16_t RleCompress = OptionFalse;      // run-length-encode 8-bit BMP files
    std::int16_t BoxSplitMethod = 0;             // 0..1, index into BoxSplitFlags
    std::int16_t BoxColorMethod = 0;             // 0..2, index into BoxColorFlags
    std::int16_t PaletteMatchMethod = 0;         // 0..2, index into PaletteMatchFlags
    std::int16_t JpegQuality = 60;               // 1..100
    std::int16_t JpegProgressive = OptionFalse;  // survives a return to the chooser
    std::int16_t PngDetailed = 0;                // 0 = plain writer, 1 = DIBtoPNGex with the fields below
    std::int16_t PngCompression = 7;             // level 0..9
    std::int32_t PngGamma = 45455;               // gamma x 100000, 0..100000
    std::array<std::int16_t, 4> PngFilters{};    // box k: 0 = unchecked, 1 = checked
    std::int16_t PngInterlace = 0;               // 0..1, index into PngInterlaceFlags
    std::int16_t ColorMode = 0;                  // 0 = grey path (picture window), 1 = RGB path; survives
    std::int32_t GrayStrength = 0;               // 0 (none) .. 255 (full grey); survives
};
