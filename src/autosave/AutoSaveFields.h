#pragma once
// The fields of the auto-save window without it: the format and its settings, and
// the number fields as pure rules: each field's text is read as a number, held inside
// its bounds, and rewritten only when it was outside them ("1,000" and "5.5" stay as
// typed). Text that is no number keeps the field's previous value and stays as typed.

#include "shared/ImageFiles.h"

#include <QString>

#include <cstdint>
#include <optional>

inline constexpr std::int64_t MinJpegQuality = 1;
inline constexpr std::int64_t MaxJpegQuality = 100;
inline constexpr std::int64_t MaxPngLevel = 9;
inline constexpr std::int64_t MinWatchInterval = 1;
inline constexpr std::int64_t MaxWatchInterval = 30000;

// The format and its settings as the window shows them.
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

struct HeldField {
    std::int64_t value = 0;
    std::optional<QString> replacement;  // the text the field must show instead
};

// The text's whole part held to [lower, upper]; previous when the text is no number.
[[nodiscard]] HeldField HoldField(const QString& text, std::int64_t lower, std::int64_t upper, std::int64_t previous);
