// BMP files of every variant, written here byte by byte from one picture, decode to the
// pixels Pillow gives; where Pillow cannot read a variant, to the picture's own pixels
// (alpha laid over white as the PNG reader lays the same picture's). Broken variants
// are refused.
#include "BmpVariants.h"
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int Width = 13;
constexpr int Height = 7;

constexpr std::uint32_t Rgb = 0;
constexpr std::uint32_t Rle8 = 1;
constexpr std::uint32_t Rle4 = 2;
constexpr std::uint32_t Fields = 3;
constexpr std::uint32_t Jpeg = 4;
constexpr std::uint32_t Png = 5;
constexpr std::uint32_t AlphaFields = 6;

// Indices 0 .. 15: runs, single pixels, runs of 0 for the deltas, a row of 0 and a
// last (top) row of 0 that the stream's early end of bitmap leaves.
unsigned indexOf(int x, int y)
{
    if (y == 0 || y == 3)
        return 0;
    if (x >= 4 && x < 6)
        return 0;
    if (x >= 6 && x < 9)
        return 3 + static_cast<unsigned>(y);
    return static_cast<unsigned>(x * 5 + y * 3) % 15 + 1;
}

// Opaque on the left; to the right alpha 255, 170, 85 and 0 in turn.
std::uint32_t alphaOf(int x, int y)
{
    constexpr std::uint32_t levels[] = {255, 170, 85, 0};
    return x < 4 ? 255 : levels[(x + y) % 4];
}

std::uint32_t argbOf(int x, int y)
{
    return alphaOf(x, y) << 24 | static_cast<std::uint32_t>(x * 19 + 7) << 16
           | static_cast<std::uint32_t>(y * 37 + 3) << 8 | static_cast<std::uint32_t>(x * y * 11 & 0xFF);
}

BmpPicture picture(bool withAlpha = true)
{
    BmpPicture p{Width, Height, argbOf, indexOf, {}};
    for (std::uint32_t i = 0; i < 256; ++i)
        p.palette.push_back((i * 0x3B1D07u + 0x102030u) & 0xFFFFFF);
    if (!withAlpha)
        p.argb = [](int x, int y) { return argbOf(x, y) & 0xFFFFFF; };
    return p;
}

enum class Reference {
    Pillow,        // Pillow's pixels of the file
    Picture,       // the picture at 24 bits, alpha laid over white by the PNG reader (where
                   // Pillow 9 reads no such file, or reads it wrongly: it drops the last
                   // pixel of an odd RLE4 absolute run)
    EmbeddedJpeg,  // Pillow's pixels of the JPEG inside
};

struct VariantCase {
    BmpVariant variant;
    Reference reference = Reference::Pillow;
    int tolerance = 0;       // per channel: one 5-bit step for 16-bit variants
    bool zeroAlpha = false;  // every pixel's alpha 0: the picture is meant opaque
    friend void PrintTo(const VariantCase& c, std::ostream* out) { *out << c.variant.name; }
};

// A channel of alpha bits quantised the way the variant stores it.
std::uint32_t quantised(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 255;
    const std::uint64_t max = std::uint64_t{mask} >> std::countr_zero(mask);
    return static_cast<std::uint32_t>(((value * max + 127) / 255 * 255 + max / 2) / max);
}

std::vector<std::uint32_t> decoded(const std::vector<std::uint8_t>& bytes, DibStatus& status)
{
    DIBHandle handle = 0;
    status = DIBFromMemory(bytes, handle);
    const DibGuard image(handle);
    return status ? snapshotOf(image.get()).rgb : std::vector<std::uint32_t>{};
}

std::vector<std::uint32_t> pictureAt24Bits(const VariantCase& c)
{
    const BmpVariant& v = c.variant;
    const BmpPicture p = picture();
    std::vector<std::uint32_t> rgb;
    if (v.bits > 0 && v.bits <= 8) {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                rgb.push_back(p.palette[indexAtDepth(p, v.bits, x, y)]);
        return rgb;
    }
    const std::uint32_t alphaMask = v.compression == Fields || v.compression == AlphaFields ? v.masks[3] : 0;
    PngPicture png{Width,
                   Height,
                   8,
                   6,
                   false,
                   [&](int x, int y, int channel) {
                       const std::uint32_t argb = argbOf(x, y);
                       return channel == 3 ? (c.zeroAlpha ? 255 : quantised(argb >> 24, alphaMask))
                                           : argb >> (16 - 8 * channel) & 0xFF;
                   },
                   {}};
    DibStatus status;
    return decoded(pngOf(png), status);
}

std::vector<std::uint8_t> embeddedBody(const BmpVariant& v, const TempDir& dir)
{
    PngPicture png{Width, Height, 8,
                   2,     false,  [](int x, int y, int channel) { return argbOf(x, y) >> (16 - 8 * channel) & 0xFF; },
                   {}};
    if (v.compression == Png)
        return pngOf(png);
    if (v.compression != Jpeg)
        return {};
    DIBHandle handle = 0;
    EXPECT_TRUE(DIBFromMemory(pngOf(png), handle));
    const DibGuard image(handle);
    EXPECT_TRUE(DIBtoJPG(dir.file("inside.jpg"), image.get(), 90, 0));
    return readFileBytes(dir.file("inside.jpg"));
}

class BmpVariantRead : public testing::TestWithParam<VariantCase>
{};

TEST_P(BmpVariantRead, GivesThePixelsOfItsReference)
{
    const VariantCase& c = GetParam();
    TempDir dir;
    BmpPicture p = picture();
    if (c.zeroAlpha)
        p.argb = [](int x, int y) { return argbOf(x, y) & 0xFFFFFF; };
    const std::vector<std::uint8_t> bytes = bmpOf(c.variant, p, embeddedBody(c.variant, dir));
    writeFileBytes(dir.file("variant.bmp"), bytes);
    DibStatus status;
    const std::vector<std::uint32_t> ours = decoded(bytes, status);
    ASSERT_TRUE(status) << status.text();
    std::vector<std::uint32_t> expected;
    switch (c.reference) {
    case Reference::Pillow: expected = decodeWithPillow(dir.file("variant.bmp")).rgb; break;
    case Reference::Picture: expected = pictureAt24Bits(c); break;
    case Reference::EmbeddedJpeg: expected = decodeWithPillow(dir.file("inside.jpg")).rgb; break;
    }
    ASSERT_EQ(ours.size(), expected.size());
    int worst = 0;
    for (std::size_t i = 0; i < ours.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            worst = std::max(worst, std::abs(static_cast<int>((ours[i] >> shift) & 0xFF)
                                             - static_cast<int>((expected[i] >> shift) & 0xFF)));
    EXPECT_LE(worst, c.tolerance);
}

constexpr std::array<std::uint32_t, 4> Rgb565{0xF800, 0x7E0, 0x1F, 0};
constexpr std::array<std::uint32_t, 4> Argb1555{0x7C00, 0x3E0, 0x1F, 0x8000};
constexpr std::array<std::uint32_t, 4> Bgra{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
constexpr std::array<std::uint32_t, 4> Rgba{0xFF, 0xFF00, 0xFF0000, 0xFF000000};
constexpr std::array<std::uint32_t, 4> Xbgr{0xFF000000, 0xFF0000, 0xFF00, 0};
constexpr std::array<std::uint32_t, 4> TenBitsTwoAlpha{0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000};

INSTANTIATE_TEST_SUITE_P(
    Variants, BmpVariantRead,
    testing::Values(
        VariantCase{{.name = "Bits1", .bits = 1, .compression = Rgb}},
        VariantCase{{.name = "Bits1Os2Core", .bits = 1, .compression = Rgb, .infoSize = 12}},
        VariantCase{{.name = "Bits2", .bits = 2, .compression = Rgb}, Reference::Picture},
        VariantCase{{.name = "Bits4", .bits = 4, .compression = Rgb}},
        VariantCase{{.name = "Bits4PaletteLongerThanTheDepth", .bits = 4, .compression = Rgb, .colorsUsed = 20}},
        VariantCase{{.name = "Bits4Os2Info64", .bits = 4, .compression = Rgb, .infoSize = 64}},
        VariantCase{{.name = "Bits8ShortPalette", .bits = 8, .compression = Rgb, .colorsUsed = 16}},
        VariantCase{{.name = "Bits8TopDown", .bits = 8, .compression = Rgb, .topDown = true}},
        VariantCase{{.name = "Bits8Os2Core", .bits = 8, .compression = Rgb, .infoSize = 12}},
        // Pillow 9 reads a delta's two bytes twice: the stream it reads has none.
        VariantCase{{.name = "Rle8", .bits = 8, .compression = Rle8, .deltas = false}},
        VariantCase{{.name = "Rle8Deltas", .bits = 8, .compression = Rle8}, Reference::Picture},
        VariantCase{{.name = "Rle8DeltasInfo124", .bits = 8, .compression = Rle8, .infoSize = 124, .colorsUsed = 16},
                    Reference::Picture},
        VariantCase{{.name = "Rle4Deltas", .bits = 4, .compression = Rle4}, Reference::Picture},
        VariantCase{{.name = "Rle4DeltasInfo108", .bits = 4, .compression = Rle4, .infoSize = 108}, Reference::Picture},
        VariantCase{{.name = "Bits16", .bits = 16, .compression = Rgb}, Reference::Pillow, 8},
        VariantCase{{.name = "Bits16TopDown", .bits = 16, .compression = Rgb, .topDown = true}, Reference::Pillow, 8},
        VariantCase{{.name = "Bits16Rgb565", .bits = 16, .compression = Fields, .masks = Rgb565}, Reference::Pillow, 8},
        VariantCase{{.name = "Bits16Rgb565Info52", .bits = 16, .compression = Fields, .infoSize = 52, .masks = Rgb565},
                    Reference::Picture,
                    8},
        VariantCase{
            {.name = "Bits16Argb1555Info124", .bits = 16, .compression = Fields, .infoSize = 124, .masks = Argb1555},
            Reference::Picture,
            8},
        VariantCase{{.name = "Bits24", .bits = 24, .compression = Rgb}},
        VariantCase{{.name = "Bits24TopDownInfo124", .bits = 24, .compression = Rgb, .infoSize = 124, .topDown = true}},
        VariantCase{{.name = "Bits24Info56", .bits = 24, .compression = Rgb, .infoSize = 56}, Reference::Picture},
        VariantCase{{.name = "Bits32", .bits = 32, .compression = Rgb, .filler = 0x5A}},
        VariantCase{{.name = "Bits32TopDownInfo108", .bits = 32, .compression = Rgb, .infoSize = 108, .topDown = true}},
        VariantCase{{.name = "Bits32XbgrInfo52", .bits = 32, .compression = Fields, .infoSize = 52, .masks = Xbgr},
                    Reference::Picture},
        VariantCase{{.name = "Bits32BgraInfo124", .bits = 32, .compression = Fields, .infoSize = 124, .masks = Bgra},
                    Reference::Picture,
                    1},
        VariantCase{{.name = "Bits32RgbaInfo56",
                     .bits = 32,
                     .compression = Fields,
                     .infoSize = 56,
                     .topDown = true,
                     .masks = Rgba},
                    Reference::Picture,
                    1},
        VariantCase{
            {.name = "Bits32TenBitsAlphaBitFields", .bits = 32, .compression = AlphaFields, .masks = TenBitsTwoAlpha},
            Reference::Picture,
            1},
        VariantCase{
            {.name = "Bits32BgraAllTransparent", .bits = 32, .compression = Fields, .infoSize = 124, .masks = Bgra},
            Reference::Picture,
            0,
            true},
        VariantCase{{.name = "EmbeddedPng", .bits = 0, .compression = Png}, Reference::Picture},
        VariantCase{
            {.name = "EmbeddedJpeg", .bits = 0, .compression = Jpeg, .infoSize = 124}, Reference::EmbeddedJpeg, 2}),
    [](const testing::TestParamInfo<VariantCase>& info) { return std::string(info.param.variant.name); });

// A picture tall enough for the rows to be shared between two threads: the 32-bit
// file decodes to the pixels of the 24-bit one.
TEST(BmpVariantRead, LargeThirtyTwoBitsLikeTwentyFour)
{
    const BmpPicture large{
        1001, 700, [](int x, int y) { return static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u); }, {}, {}};
    DibStatus status;
    const std::vector<std::uint32_t> at24 = decoded(bmpOf({.bits = 24, .compression = Rgb}, large), status);
    ASSERT_TRUE(status);
    EXPECT_EQ(decoded(bmpOf({.bits = 32, .compression = Rgb, .filler = 0xA5}, large), status), at24);
    const BmpVariant xbgrTopDown{.bits = 32, .compression = Fields, .infoSize = 124, .topDown = true, .masks = Xbgr};
    EXPECT_EQ(decoded(bmpOf(xbgrTopDown, large), status), at24);
}

struct BrokenCase {
    const char* name;
    BmpVariant variant;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    friend void PrintTo(const BrokenCase& c, std::ostream* out) { *out << c.name; }
};

// The body after the headers and palette replaced; the header's body size follows.
std::function<void(std::vector<std::uint8_t>&)> body(std::vector<std::uint8_t> replacement)
{
    return [replacement](std::vector<std::uint8_t>& f) {
        const std::size_t offset = le32(f, 10);
        f.resize(offset);
        f.insert(f.end(), replacement.begin(), replacement.end());
        const auto size = static_cast<std::uint32_t>(replacement.size());
        for (int i = 0; i < 4; ++i)
            f[34 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    };
}

std::function<void(std::vector<std::uint8_t>&)> setByte(std::size_t at, std::uint8_t value)
{
    return [at, value](std::vector<std::uint8_t>& f) { f[at] = value; };
}

class BmpBrokenVariant : public testing::TestWithParam<BrokenCase>
{};

TEST_P(BmpBrokenVariant, IsRefused)
{
    std::vector<std::uint8_t> bytes = bmpOf(GetParam().variant, picture());
    GetParam().damage(bytes);
    DIBHandle handle = 0;
    const DibStatus status = DIBFromMemory(bytes, handle);
    DeleteDIB(handle);
    EXPECT_EQ(status.error, DibError::DecodeFailed);
    EXPECT_EQ(handle, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BmpBrokenVariant,
    testing::Values(
        BrokenCase{"Rle8CutInAnAbsoluteRun", {.bits = 8, .compression = Rle8}, body({2, 1, 0, 5, 1, 2})},
        BrokenCase{"Rle8CutInARun", {.bits = 8, .compression = Rle8}, body({2, 1, 0, 0, 4})},
        BrokenCase{"Rle4CutInADelta", {.bits = 4, .compression = Rle4}, body({2, 0x11, 0, 2, 1})},
        BrokenCase{"Rle4CutInAnAbsoluteRun", {.bits = 4, .compression = Rle4}, body({0, 7, 0x12, 0x34})},
        BrokenCase{"Rle8RowsTopDown", {.bits = 8, .compression = Rle8, .topDown = true}, [](auto&) {}},
        BrokenCase{"Rle8InA24BitFile", {.bits = 24, .compression = Rgb}, setByte(30, 1)},
        BrokenCase{"MaskPastSixteenBits",
                   {.bits = 16, .compression = Fields, .masks = {0x1F0000, 0x3E0, 0x1F, 0}},
                   [](auto&) {}},
        BrokenCase{"OverlappingMasks",
                   {.bits = 32, .compression = Fields, .infoSize = 56, .masks = {0xFFF0, 0xFF, 0xFF0000, 0}},
                   [](auto&) {}},
        BrokenCase{"MaskWithAGap",
                   {.bits = 16, .compression = Fields, .infoSize = 52, .masks = {0xF0F, 0x30, 0xC0, 0}},
                   [](auto&) {}},
        BrokenCase{"NoColourMasks",
                   {.bits = 32, .compression = Fields, .infoSize = 124, .masks = {0, 0, 0, 0xFF000000}},
                   [](auto&) {}},
        BrokenCase{"BitFieldsAt24Bits",
                   {.bits = 24, .compression = Fields, .masks = {0xFF0000, 0xFF00, 0xFF, 0}},
                   [](auto&) {}},
        BrokenCase{"RowsCutShort", {.bits = 32, .compression = Rgb}, [](auto& f) { f.resize(f.size() - 5); }},
        BrokenCase{"IndexPastTheShortPalette", {.bits = 8, .compression = Rgb, .colorsUsed = 4}, [](auto&) {}},
        BrokenCase{"UnknownInfoSize", {.bits = 24, .compression = Rgb}, setByte(14, 20)},
        BrokenCase{"TwoPlanes", {.bits = 24, .compression = Rgb}, setByte(26, 2)},
        BrokenCase{"EmbeddedPngThatIsNone", {.bits = 0, .compression = Png}, body({0x89, 'P', 'N', 'G', 1, 2, 3})},
        BrokenCase{"EmbeddedJpegCutShort", {.bits = 0, .compression = Jpeg}, body({0xFF, 0xD8, 0xFF, 0xE0, 0, 16})}),
    [](const testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

}  // namespace
