#pragma once
// What each of the desktop capture mode's output options becomes when it reaches the
// image library.

#include "OutputOptionValues.h"
#include "imaging/dibimage.h"
#include "shared/ImageWriter.h"

#include <array>
#include <cstdint>

// Library flags by option index. Note BoxColorFlags: the distinct colours' mean for
// index 1, every pixel's for index 2.
inline constexpr std::array<std::uint32_t, 2> BoxSplitFlags{0, SplitByBrightness};
inline constexpr std::array<std::uint32_t, 3> BoxColorFlags{0, ColorFromDistinct, ColorFromAllPixels};
inline constexpr std::array<std::uint32_t, 3> PaletteMatchFlags{0, MatchBrightness, MatchYCrCb};
// [state][box]: an unchecked box contributes nothing.
inline constexpr std::array<std::array<std::uint32_t, 4>, 2> PngFilterFlags{
    {{0, 0, 0, 0}, {PngOptions::SubFilter, PngOptions::UpFilter, PngOptions::AverageFilter, PngOptions::PaethFilter}}};
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
