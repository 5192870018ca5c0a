#pragma once
// The DIB image library: every pixel operation of the program. Images live in the
// library behind 32-bit handles; a DeviceContext is a plain pixel surface that the
// windows paint from and that DCtoDIB / DIBStretchDIBits read and draw into.
// No Qt here, and no exception crosses this boundary: every call returns a status.

#include "DefaultInitAllocator.h"
#include "files/ExistingFile.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

using DIBHandle = std::uint32_t;  // 0 = no image (the failure value)

inline constexpr std::uint32_t SRCCOPY = 0xCC0020;
inline constexpr int HALFTONE = 4;      // stretch mode: area averaging / smooth filter
inline constexpr int COLORONCOLOR = 3;  // stretch mode: nearest pixel

// A device context: width x height pixels, 0xAARRGGBB in native order (the layout of
// QImage::Format_RGB32), rows top-down, stride() pixels apart. Alpha is ignored on
// read and written as 0xFF.
class DeviceContext
{
public:
    DeviceContext() = default;
    DeviceContext(int width, int height);  // filled with black

    void resize(int width, int height);  // contents become black
    // Contents undefined: for a writer that sets every pixel (a screen grab), which
    // would otherwise clear tens of megabytes only to overwrite them.
    void resizeForOverwrite(int width, int height);
    void fill(std::uint32_t argb);

    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }
    [[nodiscard]] std::size_t stride() const { return static_cast<std::size_t>(m_width); }
    [[nodiscard]] std::uint32_t* pixels() { return m_pixels.data(); }
    [[nodiscard]] const std::uint32_t* pixels() const { return m_pixels.data(); }
    [[nodiscard]] std::uint32_t* row(int y) { return m_pixels.data() + stride() * static_cast<std::size_t>(y); }
    [[nodiscard]] const std::uint32_t* row(int y) const
    {
        return m_pixels.data() + stride() * static_cast<std::size_t>(y);
    }

    int stretchMode = COLORONCOLOR;  // how DIBStretchDIBits scales into this surface

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t, SurfaceAllocator<std::uint32_t>> m_pixels;
};

enum class DibError : std::uint8_t {
    None,
    BadHandle,    // 0 or an already deleted handle
    BadArgument,  // size, depth, quality or rectangle out of range
    TooLarge,     // size product beyond the library's maximum image
    OutOfMemory,
    WrongDepth,     // the conversion does not apply to this image's depth
    CannotCreate,   // the target file (or its temporary sibling) cannot be created
    WriteFailed,    // disk full, I/O error: nothing is left behind
    EncoderFailed,  // libpng / libjpeg reported an error
    DecodeFailed,   // reading an image file failed
    FileExists,     // the file may not be replaced and exists: it is untouched
    NotYours,       // the name is another user's link or file in a shared sticky folder
};

[[nodiscard]] const char* DibErrorText(DibError error);

struct DibStatus {
    DibError error = DibError::None;
    [[nodiscard]] bool ok() const { return error == DibError::None; }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] const char* text() const { return DibErrorText(error); }
};

// The 16-byte option record of DIBtoPNGex, little-endian on disk and in memory
// streams:  0 u32 flags | 4 u16 level | 6 u16 unused | 8 u32 filter set | 12 u32 gamma x 100000
struct PngOptions {
    // flags
    static constexpr std::uint32_t LevelGiven = 0x01;
    static constexpr std::uint32_t FiltersGiven = 0x02;
    static constexpr std::uint32_t GammaGiven = 0x04;
    static constexpr std::uint32_t Interlaced = 0x80;
    // filters: the row filters the writer may choose from
    static constexpr std::uint32_t SubFilter = 0x08;
    static constexpr std::uint32_t UpFilter = 0x10;
    static constexpr std::uint32_t AverageFilter = 0x20;
    static constexpr std::uint32_t PaethFilter = 0x40;

    std::uint32_t flags = 0;
    std::uint16_t level = 0;  // 0 fastest .. 9 smallest
    std::uint16_t unused = 0;
    std::uint32_t filters = 0;  // OR of the filter bits above
    std::uint32_t gamma = 0;    // 45455 = 1/2.2

    [[nodiscard]] static PngOptions fromBytes(std::span<const std::uint8_t, 16> bytes);
    [[nodiscard]] std::array<std::uint8_t, 16> toBytes() const;
};

// The largest image: 32768 pixels a side and 1 GiB of pixel bytes; beyond it calls
// fail with TooLarge (DCtoDIB: handle 0). Converters work in place on the handle.

// A new 24-bit image of the rectangle; pixels outside the surface are black; 0 when
// width or height is not positive or the image would be too large.
DIBHandle DCtoDIB(const DeviceContext& dc, int x, int y, int width, int height);
// Source coordinates count from the image's top-left pixel and must lie inside it;
// the drawing is clipped to the surface. 1:1 copies exactly; otherwise HALFTONE
// averages areas when shrinking and filters bilinearly when enlarging, COLORONCOLOR
// takes the nearest pixel. rop must be SRCCOPY.
DibStatus DIBStretchDIBits(DeviceContext& dc, int destX, int destY, int destWidth, int destHeight, DIBHandle dib,
                           int srcX, int srcY, int srcWidth, int srcHeight, std::uint32_t rop);
// DIBto8Bit's method flags; without a flag of a kind: split by the widest channel,
// the box's middle as its colour, nearest in RGB.
inline constexpr std::uint32_t SplitByBrightness = 0x1;
inline constexpr std::uint32_t ColorFromAllPixels = 0x80;  // mean of every pixel in the box
inline constexpr std::uint32_t ColorFromDistinct = 0x100;  // mean of the distinct colours in the box
inline constexpr std::uint32_t MatchBrightness = 0x1000;   // nearest luma
inline constexpr std::uint32_t MatchYCrCb = 0x20000;       // nearest in Y, Cr, Cb

// Median cut to at most 256 colours, no dithering; 256 colours or fewer stay exact.
// methodFlags: an OR of the flags above. reserved must be 0.
DibStatus DIBto8Bit(DIBHandle dib, std::uint32_t methodFlags, std::uint32_t reserved);
// 5-5-5, each channel rounded to the nearest level; reserved must be 0.
DibStatus DIBto16Bit(DIBHandle dib, const std::int32_t& reserved);
DibStatus DIBto24Bit(DIBHandle dib);
// 0 unchanged .. 255 every pixel its BT.601 luma; 8-bit images change their palette.
DibStatus GrayDIB(DIBHandle dib, int strength);
// 8-bit images only (WrongDepth otherwise); DIBtoBMP then writes a BI_RLE8 file.
DibStatus DIBtoRLE(DIBHandle dib);
// Writers put the file in place whole or not at all: an existing file survives a
// failure. With ExistingFile::Keep they never replace a file (FileExists instead).
DibStatus DIBtoBMP(const std::string& path, DIBHandle dib, ExistingFile existing = ExistingFile::Replace);
// quality 1 .. 100; any non-zero progressive value writes a progressive file.
DibStatus DIBtoJPG(const std::string& path, DIBHandle dib, int quality, int progressive,
                   ExistingFile existing = ExistingFile::Replace);
// Level 6, per-row filter choice (none for palette images), no gAMA; reserved must be 0.
DibStatus DIBtoPNG(const std::string& path, DIBHandle dib, int reserved);
class DeflateMemory;
// What DIBtoPNGex keeps from one image for the next written with it: screenshots
// saved one after another differ in a few rows, and the deflated bands of rows that
// did not change are taken as they were, which gives the same file as deflating them
// again. It holds about one image's filtered rows. For one thread at a time.
class PngMemory
{
public:
    PngMemory();
    ~PngMemory();
    [[nodiscard]] DeflateMemory& bands() { return *m_bands; }
    // Gives the memory back; the next image is deflated whole.
    void forget();

private:
    std::unique_ptr<DeflateMemory> m_bands;
};
// Fields whose flag is clear keep DIBtoPNG's defaults. Several filter bits: the filter
// is chosen per row among them. Gamma 0 writes no gAMA chunk.
DibStatus DIBtoPNGex(const std::string& path, DIBHandle dib, const PngOptions& options,
                     ExistingFile existing = ExistingFile::Replace, PngMemory* memory = nullptr);
DibStatus DeleteDIB(DIBHandle dib);

// Beyond the program's twelve calls: for the clipboard, the scrimble-dib tool and tests.

// A copy of everything an image holds.
struct DibSnapshot {
    int width = 0;
    int height = 0;
    int bitCount = 0;                                  // 8, 16 (5-5-5) or 24 (B, G, R)
    std::uint32_t compression = 0;                     // 0 = BI_RGB, 1 = BI_RLE8
    std::vector<std::array<std::uint8_t, 4>> palette;  // blue, green, red, 0 (8-bit images)
    std::vector<std::uint8_t> bits;  // the body of a BMP file: bottom-up rows padded to 4 bytes, or the RLE8 stream
    std::vector<std::uint32_t> rgb;  // every pixel as 0xRRGGBB, top row first, width x height
};
DibStatus DIBSnapshot(DIBHandle dib, DibSnapshot& out);
// Width, height and bits per pixel (8, 16, 24) of an image, without copying it.
DibStatus DIBDimensions(DIBHandle dib, int& width, int& height, int& bitCount);

// A new 24-bit image from 0xAARRGGBB pixels (rows top-down, stride in pixels); 0 on failure.
DIBHandle DIBFromPixels(const std::uint32_t* argb, int width, int height, std::size_t stride);

// Reads a PNG (any colour type, depth and interlace, via libpng), JPEG (via
// libjpeg-turbo) or BMP file (any variant: 1 to 32 bits, RLE4 and RLE8, bit fields,
// OS/2 and Windows headers, an embedded PNG or JPEG) into a new image: 8-bit indices
// for BMP palettes, 16 bits for a 5-5-5 BMP, else 24 bits, with alpha laid over white
// in linear light. out is 0 on failure. An image beyond the decoded-image limit (2^27
// pixels, four 7680 x 4320 screens) fails with TooLarge, found from the header before
// anything is allocated; only as much of the file is read as its image needs (a PNG or
// JPEG file of at most 512 MiB).
DibStatus DIBFromFile(const std::string& path, DIBHandle& out);
// The same from a file's bytes in memory, such as another program's copy on the
// clipboard: BMP when they start with "BM", JPEG with its start-of-image marker, else
// PNG.
DibStatus DIBFromMemory(std::span<const std::uint8_t> bytes, DIBHandle& out);
// The pixels of a surface (0xAARRGGBB, rows top-down, stride in pixels, as a
// DeviceContext holds them) as a 24-bit PNG file in memory, unfiltered and deflated at
// the fastest level: for the clipboard, where the image stays on the machine and the
// time counts more than the last bytes of size.
DibStatus QuickPng(const std::uint32_t* pixels, int width, int height, std::size_t stride,
                   std::vector<std::uint8_t>& png);

// Owns one handle and deletes it when it goes out of scope.
class DibGuard
{
public:
    explicit DibGuard(DIBHandle handle = 0) : m_handle(handle) {}
    ~DibGuard() { reset(); }
    DibGuard(const DibGuard&) = delete;
    DibGuard& operator=(const DibGuard&) = delete;
    DibGuard(DibGuard&& other) noexcept : m_handle(other.release()) {}
    DibGuard& operator=(DibGuard&& other) noexcept
    {
        reset(other.release());
        return *this;
    }

    [[nodiscard]] DIBHandle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != 0; }
    DIBHandle release()
    {
        DIBHandle h = m_handle;
        m_handle = 0;
        return h;
    }
    void reset(DIBHandle handle = 0)
    {
        if (m_handle)
            DeleteDIB(m_handle);
        m_handle = handle;
    }

private:
    DIBHandle m_handle;
};
