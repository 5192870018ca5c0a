#pragma once
// Reading rows of any uncompressed image as common pixel formats.

#include "Dib.h"

#include <memory>

// Row y (from the top) of an 8, 16 or 24-bit uncompressed image as 0xFFRRGGBB.
void readRowArgb(const Dib& dib, int y, std::uint32_t* out);
// Row y (from the top) as blue, green, red bytes.
void readRowBgr(const Dib& dib, int y, std::uint8_t* out);
// Row y (from the top) as blue, green, red bytes: a pointer into a 24-bit image, or
// into scratch, where other depths are expanded.
[[nodiscard]] const std::uint8_t* bgrRow(const Dib& dib, int y, std::vector<std::uint8_t>& scratch);
// Row y (from the top) as red, green, blue bytes.
void readRowRgb(const Dib& dib, int y, std::uint8_t* out);

// count pixels 0xAARRGGBB as blue, green, red bytes, and back with alpha 0xFF: the
// copies of every screen-sized image pass here, and byte by byte they would cost as
// much as the encoders.
void packBgr(const std::uint32_t* argb, int count, std::uint8_t* bgr);
void unpackBgr(const std::uint8_t* bgr, int count, std::uint32_t* argb);
// count pixels of blue, green, red bytes as red, green, blue (in and out apart).
void swapRedBlue(const std::uint8_t* in, int count, std::uint8_t* out);

// 8 bits to 5 rounded to the nearest level; expand5 maps the 32 levels back to 0..255.
[[nodiscard]] inline unsigned reduce5(unsigned c) { return (c * 31 + 127) / 255; }
[[nodiscard]] inline std::uint8_t expand5(unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }

// The image to read pixels from: dib itself, or for RLE8 its decoded copy kept in holder.
[[nodiscard]] DibError uncompressedView(const Dib& dib, std::unique_ptr<Dib>& holder, const Dib*& view);
