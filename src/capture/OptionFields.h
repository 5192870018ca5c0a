#pragma once
// The options window's number fields and reset as pure rules on texts and values. A
// text is read as the panel's fields read theirs; what is not a number (yet) keeps the
// previous value and its text as typed, except in the gamma field, where it gives 0.

#include "OutputOptionValues.h"
#include "PanelFields.h"

inline constexpr int MaxGrayStrength = 255;
inline constexpr int MinJpegQuality = 1;
inline constexpr int MaxJpegQuality = 100;
inline constexpr int MaxPngCompression = 9;
inline constexpr int MaxPngGamma = 100000;
inline constexpr int WindowsGamma = 45455;  // 100000 / 2.2
inline constexpr int MacGamma = 55556;      // 100000 / 1.8
inline constexpr int ResetPngCompression = 5;

// Text1: rounded down, 0..255.
[[nodiscard]] FieldCommit CommitGrayStrength(const QString& text, std::int32_t previous);
// Text2: rounded to the nearest, halves to even, 1..100.
[[nodiscard]] FieldCommit CommitJpegQuality(const QString& text, std::int16_t previous);
// Text3: rounded down, 0..9.
[[nodiscard]] FieldCommit CommitPngCompression(const QString& text, std::int16_t previous);
// Text4: rounded down, 0..100000; not a number gives 0.
[[nodiscard]] FieldCommit CommitPngGamma(const QString& text);

// "全デフォルト": 24 bits, the default methods, no RLE, no grey step, quality 60,
// gamma 45455, level 5, no filter box, plain PNG. Progressive JPEG, ColorMode and
// interlacing stay.
void ResetOptions(OutputOptions& options);
