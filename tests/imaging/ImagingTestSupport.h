#pragma once
// Helpers of the imaging tests: a temporary folder, images made from a pixel
// function, and Pillow as the independent decoder.

#include "dibimage.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A fresh folder under /tmp, removed with its contents at the end of the test.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] std::string file(const std::string& name) const { return m_path + "/" + name; }
    [[nodiscard]] const std::string& path() const { return m_path; }
    // Names of the entries in the folder, sorted.
    [[nodiscard]] std::vector<std::string> entries() const;

private:
    std::string m_path;
};

// A 24-bit image whose pixel (x, y) is colour(x, y) as 0xRRGGBB.
[[nodiscard]] DIBHandle makeImage(int width, int height, const std::function<std::uint32_t(int, int)>& colour);
// The image's pixels as 0xRRGGBB, top row first (via DIBSnapshot).
[[nodiscard]] DibSnapshot snapshotOf(DIBHandle dib);

// What Pillow makes of an image file.
struct PillowImage {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::map<std::string, std::string> fields;  // format, mode, palette_size, info.*
    std::vector<std::uint32_t> rgb;             // 0xRRGGBB, top row first
};
[[nodiscard]] PillowImage decodeWithPillow(const std::string& path);
// Pillow's own baseline JPEG of the image file at source; false when it failed.
bool encodeJpegWithPillow(const std::string& source, const std::string& out, int quality);

// Path of a shared benchmark screenshot (desk1080a.png, ...), empty when missing.
[[nodiscard]] std::string benchScreenshotPath(const std::string& name);
// The screenshot read by Pillow; ok is false when it is missing.
[[nodiscard]] PillowImage benchScreenshot(const std::string& name);

// A grey PNG of width x height whose image data packs zeroBytes zero bytes, packed as
// they are made: all its rows when there are enough of them (a valid file, however
// large it decodes), else a header that claims more than the file holds.
[[nodiscard]] std::vector<std::uint8_t> zeroPng(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                                                std::size_t zeroBytes);
// A valid 1-bit PNG of side x side, all black: a few kilobytes for a giant image.
[[nodiscard]] std::vector<std::uint8_t> blackOneBitPng(std::uint32_t side);
// An 8-bit RGB PNG of the given scanlines (each a filter type byte and the filtered
// bytes), their deflate stream cut into IDAT chunks of chunkBytes.
[[nodiscard]] std::vector<std::uint8_t> rgbPng(std::uint32_t width, std::uint32_t height,
                                               const std::vector<std::uint8_t>& scanlines, std::size_t chunkBytes);
// Samples of 1, 2 or 4 bits packed into bytes from the high bits down, as PNG and BMP
// rows hold them; 8-bit samples a byte each.
class SamplePacker
{
public:
    explicit SamplePacker(std::vector<std::uint8_t>& out) : m_out(out) {}
    void put(unsigned value, int bits);
    // The row's last byte, its low bits zero.
    void endRow();

private:
    std::vector<std::uint8_t>& m_out;
    unsigned m_bits = 0;
    int m_filled = 0;
};

// A picture for pngOf: sample(x, y, channel) below 2^bitDepth, channels as the colour
// type has them (grey; red, green, blue; index; grey, alpha; red, green, blue, alpha).
struct PngPicture {
    int width = 0;
    int height = 0;
    std::uint8_t bitDepth = 8;
    std::uint8_t colourType = 2;
    bool interlaced = false;
    std::function<unsigned(int, int, int)> sample;
    std::vector<std::array<std::uint8_t, 4>> palette;  // red, green, blue, alpha (colour type 3)
};
// The picture as a PNG file, rows unfiltered, Adam7-interlaced or not.
[[nodiscard]] std::vector<std::uint8_t> pngOf(const PngPicture& picture);
// A PNG of 44 bytes whose text chunk declares 0x7ffffff0 bytes of text.
[[nodiscard]] std::vector<std::uint8_t> pngWithHugeTextChunk();

[[nodiscard]] std::vector<std::uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

[[nodiscard]] std::uint32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at);
[[nodiscard]] std::uint32_t be32(const std::vector<std::uint8_t>& bytes, std::size_t at);

// Luma of 0xRRGGBB with the BT.601 weights, unrounded.
[[nodiscard]] double lumaOf(std::uint32_t rgb);
// Peak signal-to-noise ratio in dB of b against a over all channels.
[[nodiscard]] double psnr(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);
