#pragma once
// An image of at most 256 colours, such as one the refresh has reduced already, keeps
// them exactly: its palette is found while its pixels are written as indices.

#include "Dib.h"

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int MaxColors = 256;

// Writes dib's 8-bit rows into bits (sized for them), each pixel the index of its colour
// in colors, red, green, blue in the order a scan from the top meets them. colors is
// left empty when the image has more than 256, and bits then holds nothing of use: a
// photograph shows its 257th colour within a few rows.
[[nodiscard]] DibError exactIndices(const Dib& dib, Bytes& bits, std::vector<std::array<std::uint8_t, 3>>& colors);
