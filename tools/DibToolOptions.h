#pragma once
// The command line of scrimble-dib.

#include "dibimage.h"

#include <optional>
#include <string>
#include <vector>

struct DibToolOptions {
    std::string input;
    std::string output;
    int depth = 24;                    // 24, 16 or 8
    std::uint32_t reductionFlags = 0;  // DIBto8Bit method flags
    bool rle = false;                  // BMP at 8 bits only
    int gray = 0;                      // GrayDIB strength, 0 = none
    int scaleWidth = 0;                // 0 = keep the size
    int scaleHeight = 0;
    int jpegQuality = 60;
    bool progressive = false;
    std::optional<PngOptions> pngRecord;  // absent: DIBtoPNG with its defaults
    bool timings = false;
};

// Parses argv; on a mistake returns nothing and sets error to a message.
[[nodiscard]] std::optional<DibToolOptions> parseDibToolOptions(const std::vector<std::string>& args,
                                                                std::string& error);

inline constexpr const char* DibToolUsage =
    "usage: scrimble-dib IN OUT [--depth 24|16|8] [--reduction-flags N] [--rle] [--gray 0-255]\n"
    "                    [--scale WxH] [--jpeg-quality N] [--progressive]\n"
    "                    [--png-record FLAGS,LEVEL,FILTERS,GAMMA] [--timings]\n"
    "IN is a PNG or BMP file; OUT's extension (.bmp, .jpg, .jpeg, .png) picks the writer.\n";
