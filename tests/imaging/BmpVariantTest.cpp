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
    return alphaOf(x, y) << 24 | static_cast<std::uint32_t>(x * 19 + 7) << 16 | static_cast<std::uint32_t>(y * 37 + 3) << 8
           | static_cast<std::uint32_t>(x * y * 11 & 0xFF);
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
    int tolerance = 0;          // per channel: one 5-bit step for 16-bit variants
    bool zeroAlpha = false;     // every pixel's alpha 0: the picture is meant opaque
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
    PngPicture png{Width, Height, 8, 6, false, [&](int x, int y, int channel) {
                       const std::uint32_t argb = argbOf(x, y);
                       return channel == 3 ? (c.zeroAlpha ? 255 : quantised(argb >> 24, alphaMask))
                                           : argb >> (16 - 8 * channel) & 0xFF;
                   }, {}};
    DibStatus status;
    return decoded(pngOf(png), status);
}

std::vector<std::uint8_t> embeddedBody(const BmpVariant& v, const TempDir& dir)
{
    PngPicture png{Width, Height, 8, 2, false, [](int x, int y, int channel) { return argbOf(x, y) >> (16 - 8 * channel) & 0xFF; }, {}};
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
{
};

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
            worst = std::max(worst, std::abs(static_cast<int>((ours[i] >> shift) & 0xFF) - static_cast<int>((expected[i] >> shift) & 0xFF)));
    EXPECT_LE(worst, c.tolerance);
}

constexpr std::array<std::uint32_t, 4> Rgb565{0xF800, 0x7E0, 0x1F, 0};
constexpr std::array<std::uint32_t, 4> Argb1555{0x7C00, 0x3E0, 0x1F, 0x8000};
constexpr std::array<std::uint32_t, 4> Bgra{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
constexpr std::array<std::uint32_t, 4> Rgba{0xFF, 0xFF00, 0xFF0000, 0xFF000000};
constexpr std::array<std::uint32_t, 4> Xbgr{0xFF000000, 0xFF0000, 0xFF00, 0};
constexpr std::array<std::uint32_t, 4> TenBitsTwoAlpha{0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000};

BmpVariant variant(const char* name, int bits, std::uint32_t compression, std::uint32_t infoSize = 40)
{
    BmpVariant v;
    v.name = name;
    v.bits = bits;
    v.compression = compression;
    v.infoSize = infoSize;
    return v;
}

BmpVariant with(BmpVariant v, const std::array<std::uint32_t, 4>& masks)
{
    v.masks = masks;
    return v;
}

BmpVariant topDown(BmpVariant v)
{
    v.topDown = true;
    return v;
}

BmpVariant colours(BmpVariant v, std::uint32_t colorsUsed)
{
    v.colorsUsed = colorsUsed;
    return v;
}

// Pillow 9 reads a delta's two bytes twice: streams for it have none.
BmpVariant withoutDeltas(BmpVariant v)
{
    v.deltas = false;
    return v;
}

BmpVariant filler(BmpVariant v, std::uint8_t value)
{
    v.filler = value;
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BmpVariantRead,
    testing::Values(
        VariantCase{variant("Bits1", 1, Rgb)},
        VariantCase{variant("Bits1Os2Core", 1, Rgb, 12)},
        VariantCase{variant("Bits2", 2, Rgb), Reference::Picture},
        VariantCase{variant("Bits4", 4, Rgb)},
        VariantCase{colours(variant("Bits4PaletteLongerThanTheDepth", 4, Rgb), 20)},
        VariantCase{variant("Bits4Os2Info64", 4, Rgb, 64)},
        VariantCase{colours(variant("Bits8ShortPalette", 8, Rgb), 16)},
        VariantCase{topDown(variant("Bits8TopDown", 8, Rgb))},
        VariantCase{variant("Bits8Os2Core", 8, Rgb, 12)},
        VariantCase{withoutDeltas(variant("Rle8", 8, Rle8))},
        VariantCase{variant("Rle8Deltas", 8, Rle8), Reference::Picture},
        VariantCase{colours(variant("Rle8DeltasInfo124", 8, Rle8, 124), 16), Reference::Picture},
        VariantCase{variant("Rle4Deltas", 4, Rle4), Reference::Picture},
        VariantCase{variant("Rle4DeltasInfo108", 4, Rle4, 108), Reference::Picture},
        VariantCase{variant("Bits16", 16, Rgb), Reference::Pillow, 8},
        VariantCase{topDown(variant("Bits16TopDown", 16, Rgb)), Reference::Pillow, 8},
        VariantCase{with(variant("Bits16Rgb565", 16, Fields), Rgb565), Reference::Pillow, 8},
        VariantCase{with(variant("Bits16Rgb565Info52", 16, Fields, 52), Rgb565), Reference::Picture, 8},
        VariantCase{with(variant("Bits16Argb1555Info124", 16, Fields, 124), Argb1555), Reference::Picture, 8},
        VariantCase{variant("Bits24", 24, Rgb)},
        VariantCase{topDown(variant("Bits24TopDownInfo124", 24, Rgb, 124))},
        VariantCase{variant("Bits24Info56", 24, Rgb, 56), Reference::Picture},
        VariantCase{filler(variant("Bits32", 32, Rgb), 0x5A)},
        VariantCase{topDown(variant("Bits32TopDownInfo108", 32, Rgb, 108))},
        VariantCase{with(variant("Bits32XbgrInfo52", 32, Fields, 52), Xbgr), Reference::Picture},
        VariantCase{with(variant("Bits32BgraInfo124", 32, Fields, 124), Bgra), Reference::Picture, 1},
        VariantCase{topDown(with(variant("Bits32RgbaInfo56", 32, Fields, 56), Rgba)), Reference::Picture, 1},
        VariantCase{with(variant("Bits32TenBitsAlphaBitFields", 32, AlphaFields), TenBitsTwoAlpha), Reference::Picture, 1},
        VariantCase{with(variant("Bits32BgraAllTransparent", 32, Fields, 124), Bgra), Reference::Picture, 0, true},
        VariantCase{variant("EmbeddedPng", 0, Png), Reference::Picture},
        VariantCase{variant("EmbeddedJpeg", 0, Jpeg, 124), Reference::EmbeddedJpeg, 2}),
    [](const testing::TestParamInfo<VariantCase>& info) { return std::string(info.param.variant.name); });

// A picture tall enough for the rows to be shared between two threads: the 32-bit
// file decodes to the pixels of the 24-bit one.
TEST(BmpVariantRead, LargeThirtyTwoBitsLikeTwentyFour)
{
    const BmpPicture large{1001, 700, [](int x, int y) { return static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u); },
                           {}, {}};
    DibStatus status;
    const std::vector<std::uint32_t> at24 = decoded(bmpOf(variant("", 24, Rgb), large), status);
    ASSERT_TRUE(status);
    EXPECT_EQ(decoded(bmpOf(filler(variant("", 32, Rgb), 0xA5), large), status), at24);
    EXPECT_EQ(decoded(bmpOf(topDown(with(variant("", 32, Fields, 124), Xbgr)), large), status), at24);
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
{
};

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
        BrokenCase{"Rle8CutInAnAbsoluteRun", variant("", 8, Rle8), body({2, 1, 0, 5, 1, 2})},
        BrokenCase{"Rle8CutInARun", variant("", 8, Rle8), body({2, 1, 0, 0, 4})},
        BrokenCase{"Rle4CutInADelta", variant("", 4, Rle4), body({2, 0x11, 0, 2, 1})},
        BrokenCase{"Rle4CutInAnAbsoluteRun", variant("", 4, Rle4), body({0, 7, 0x12, 0x34})},
        BrokenCase{"Rle8RowsTopDown", topDown(variant("", 8, Rle8)), [](auto&) {}},
        BrokenCase{"Rle8InA24BitFile", variant("", 24, Rgb), setByte(30, 1)},
        BrokenCase{"MaskPastSixteenBits", with(variant("", 16, Fields), {0x1F0000, 0x3E0, 0x1F, 0}), [](auto&) {}},
        BrokenCase{"OverlappingMasks", with(variant("", 32, Fields, 56), {0xFFF0, 0xFF, 0xFF0000, 0}), [](auto&) {}},
        BrokenCase{"MaskWithAGap", with(variant("", 16, Fields, 52), {0xF0F, 0x30, 0xC0, 0}), [](auto&) {}},
        BrokenCase{"NoColourMasks", with(variant("", 32, Fields, 124), {0, 0, 0, 0xFF000000}), [](auto&) {}},
        BrokenCase{"BitFieldsAt24Bits", with(variant("", 24, Fields), {0xFF0000, 0xFF00, 0xFF, 0}), [](auto&) {}},
        BrokenCase{"RowsCutShort", variant("", 32, Rgb), [](auto& f) { f.resize(f.size() - 5); }},
        BrokenCase{"IndexPastTheShortPalette", colours(variant("", 8, Rgb), 4), [](auto&) {}},
        BrokenCase{"UnknownInfoSize", variant("", 24, Rgb), setByte(14, 20)},
        BrokenCase{"TwoPlanes", variant("", 24, Rgb), setByte(26, 2)},
        BrokenCase{"EmbeddedPngThatIsNone", variant("", 0, Png), body({0x89, 'P', 'N', 'G', 1, 2, 3})},
        BrokenCase{"EmbeddedJpegCutShort", variant("", 0, Jpeg), body({0xFF, 0xD8, 0xFF, 0xE0, 0, 16})}),
    [](const testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

}  // namespace
