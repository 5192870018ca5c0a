#pragma once
// The DIB image library: every pixel operation of the program. Images live in the
// library behind 32-bit handles; a DeviceContext is a plain pixel surface that the
// windows paint from and that DCtoDIB / DIBStretchDIBits read and draw into.
// No Qt here, and no exception crosses this boundary: every call returns a status.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

using DIBHandle = std::uint32_t;  // 0 = no image (the failure value)

inline constexpr std::uint32_t SRCCOPY = 0xCC0020;
inline constexpr int HALFTONE = 4;          // stretch mode: area averaging / smooth filter
inline constexpr int COLORONCOLOR = 3;      // stretch mode: nearest pixel

// A device context: width x height pixels, 0xAARRGGBB in native order (the layout of
// QImage::Format_RGB32), rows top-down, stride() pixels apart. Alpha is ignored on
// read and written as 0xFF.
class DeviceContext
{
public:
    DeviceContext() = default;
    DeviceContext(int width, int height);  // filled with black

    void resize(int width, int height);    // contents become black
    void fill(std::uint32_t argb);

    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }
    [[nodiscard]] std::size_t stride() const { return static_cast<std::size_t>(m_width); }
    [[nodiscard]] std::uint32_t* pixels() { return m_pixels.data(); }
    [[nodiscard]] const std::uint32_t* pixels() const { return m_pixels.data(); }
    [[nodiscard]] std::uint32_t* row(int y) { return m_pixels.data() + stride() * static_cast<std::size_t>(y); }
    [[nodiscard]] const std::uint32_t* row(int y) const { return m_pixels.data() + stride() * static_cast<std::size_t>(y); }

    int stretchMode = COLORONCOLOR;        // SetStretchBltMode

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

enum class DibError : std::uint8_t {
    None,
    BadHandle,        // 0 or an already deleted handle
    BadArgument,      // size, depth, quality or rectangle out of range
    TooLarge,         // size product beyond the library's maximum image
    OutOfMemory,
    WrongDepth,       // the conversion does not apply to this image's depth
    CannotCreate,     // the target file (or its temporary sibling) cannot be created
    WriteFailed,      // disk full, I/O error: nothing is left behind
    EncoderFailed,    // libpng / libjpeg reported an error
    DecodeFailed,     // reading an image file failed
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
    static constexpr std::uint32_t LevelGiven = 0x01;
    static constexpr std::uint32_t FiltersGiven = 0x02;
    static constexpr std::uint32_t GammaGiven = 0x04;
    static constexpr std::uint32_t Interlaced = 0x80;

    std::uint32_t flags = 0;
    std::uint16_t level = 0;     // 0 fastest .. 9 smallest
    std::uint16_t unused = 0;
    std::uint32_t filters = 0;   // OR of 0x08, 0x10, 0x20, 0x40
    std::uint32_t gamma = 0;     // 45455 = 1/2.2

    [[nodiscard]] static PngOptions fromBytes(std::span<const std::uint8_t, 16> bytes);
    [[nodiscard]] std::array<std::uint8_t, 16> toBytes() const;
};

DIBHandle DCtoDIB(const DeviceContext& dc, int x, int y, int width, int height);
DibStatus DIBStretchDIBits(DeviceContext& dc, int destX, int destY, int destWidth, int destHeight,
                           DIBHandle dib, int srcX, int srcY, int srcWidth, int srcHeight,
                           std::uint32_t rop);
DibStatus DIBto8Bit(DIBHandle dib, std::uint32_t methodFlags, std::uint32_t reserved);
DibStatus DIBto16Bit(DIBHandle dib, const std::int32_t& reserved);
DibStatus DIBto24Bit(DIBHandle dib);
DibStatus GrayDIB(DIBHandle dib, int strength);
DibStatus DIBtoRLE(DIBHandle dib);
DibStatus DIBtoBMP(const std::string& path, DIBHandle dib);
DibStatus DIBtoJPG(const std::string& path, DIBHandle dib, int quality, int progressive);
DibStatus DIBtoPNG(const std::string& path, DIBHandle dib, int reserved);
DibStatus DIBtoPNGex(const std::string& path, DIBHandle dib, const PngOptions& options);
DibStatus DeleteDIB(DIBHandle dib);

// Owns one handle and deletes it when it goes out of scope.
class DibGuard
{
public:
    explicit DibGuard(DIBHandle handle = 0) : m_handle(handle) {}
    ~DibGuard() { reset(); }
    DibGuard(const DibGuard&) = delete;
    DibGuard& operator=(const DibGuard&) = delete;
    DibGuard(DibGuard&& other) noexcept : m_handle(other.release()) {}
    DibGuard& operator=(DibGuard&& other) noexcept { reset(other.release()); return *this; }

    [[nodiscard]] DIBHandle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != 0; }
    DIBHandle release() { DIBHandle h = m_handle; m_handle = 0; return h; }
    void reset(DIBHandle handle = 0) { if (m_handle) DeleteDIB(m_handle); m_handle = handle; }

private:
    DIBHandle m_handle;
};
