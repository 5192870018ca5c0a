#pragma once
// The desktop capture mode's output options and what each one becomes when it
// reaches the image library. Program-lifetime: one record lives in the
// application object; the picture refresh and the save read it, the options
// window writes it.

#include "imaging/dibimage.h"
#include "shared/ImageWriter.h"

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
    std::int16_t RleCompress = OptionFalse;  // run-length-encode 8-bit BMP files
    std::int16_t BoxSplitMethod = 0;       // 0..1, index into BoxSplitFlags
    std::int16_t BoxColorMethod = 0;       // 0..2, index into BoxColorFlags
    std::int16_t PaletteMatchMethod = 0;   // 0..2, index into PaletteMatchFlags
    std::int16_t JpegQuality = 60;         // 1..100
    std::int16_t JpegProgressive = OptionFalse;  // survives a return to the chooser
    std::int16_t PngDetailed = 0;          // 0 = plain writer, 1 = DIBtoPNGex with the fields below
    std::int16_t PngCompression = 7;       // level 0..9
    std::int32_t PngGamma = 45455;         // gamma x 100000, 0..100000
    std::array<std::int16_t, 4> PngFilters{};  // box k: 0 = unchecked, 1 = checked
    std::int16_t PngInterlace = 0;         // 0..1, index into PngInterlaceFlags
    std::int16_t ColorMode = 0;            // 0 = grey path (picture window), 1 = RGB path; survives
    std::int32_t GrayStrength = 0;         // 0 (none) .. 255 (full grey); survives
};

// Library flags by option index. Note BoxColorFlags: the distinct colours' mean for
// index 1, every pixel's for index 2.
inline constexpr std::array<std::uint32_t, 2> BoxSplitFlags{0, SplitByBrightness};
inline constexpr std::array<std::uint32_t, 3> BoxColorFlags{0, ColorFromDistinct, ColorFromAllPixels};
inline constexpr std::array<std::uint32_t, 3> PaletteMatchFlags{0, MatchBrightness, MatchYCrCb};
// [state][box]: an unchecked box contributes nothing.
inline constexpr std::array<std::array<std::uint32_t, 4>, 2> PngFilterFlags{
    {{0, 0, 0, 0},
     {PngOptions::SubFilter, PngOptions::UpFilter, PngOptions::AverageFilter, PngOptions::PaethFilter}}};
inline constexpr std::array<std::uint32_t, 2> PngInterlaceFlags{0, PngOptions::Interlaced};

// Mode-start values for everything except JpegProgressive, ColorMode and
// GrayStrength, which keep their last values for the whole run.
void InitOutputOptions(OutputOptions& options);

// DIBto8Bit's method flags. An index outside its table contributes 0.
[[nodiscard]] std::uint32_t ReductionFlags(const OutputOptions& options);
// OR of the checked filter boxes' flags; 8 (the first filter) when none is checked.
[[nodiscard]] std::uint32_t PngFilterSet(const OutputOptions& options);
// DIBtoPNGex's record for the detailed PNG writer: flags = interlace flag | 7.
[[nodiscard]] PngOptions PngOptionRecord(const OutputOptions& options);
// DIBtoJPG's progressive argument: -1 when progressive, else 0.
[[nodiscard]] std::int32_t JpegProgressiveArgument(const OutputOptions& options);

// true when BitDepth asks for 16 or 8 bits.
[[nodiscard]] bool ReducesColors(const OutputOptions& options);
// The picture refresh's BitDepth conversion, in place, as the BMP save converts:
// 16 bits, 8 bits with ReductionFlags, or 24 bits (as the picture already is). Never RLE.
DibStatus ReduceColors(DIBHandle image, const OutputOptions& options);
