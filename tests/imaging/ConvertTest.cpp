// Depth conversions, grey and run-length coding in place on the handle.
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::uint32_t ramp(int x, int y)
{
    return static_cast<std::uint32_t>((x * 37 + y * 11) & 0xFF) << 16
           | static_cast<std::uint32_t>((x * 5 + 100) & 0xFF) << 8 | static_cast<std::uint32_t>((y * 29 + 7) & 0xFF);
}

unsigned channel(std::uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

TEST(DepthConvert, SixteenBitsKeepTheNearestFiveBitLevel)
{
    DibGuard image(makeImage(13, 9, ramp));
    const DibSnapshot before = snapshotOf(image.get());
    ASSERT_TRUE(DIBto16Bit(image.get(), 0));
    const DibSnapshot after = snapshotOf(image.get());
    EXPECT_EQ(after.bitCount, 16);
    for (std::size_t i = 0; i < before.rgb.size(); ++i)
        for (int shift = 0; shift <= 16; shift += 8) {
            // Each 8-bit value lands on the 5-bit level nearest to it.
            const double exact = channel(before.rgb[i], shift) * 31.0 / 255.0;
            const unsigned level = channel(after.rgb[i], shift) >> 3;
            EXPECT_LE(std::abs(level - exact), 0.5) << i;
        }
    ASSERT_TRUE(DIBto24Bit(image.get()));
    const DibSnapshot back = snapshotOf(image.get());
    EXPECT_EQ(back.bitCount, 24);
    EXPECT_EQ(back.rgb, after.rgb);
}

struct DepthCase {
    const char* name;
    int depth;  // 8, 16, 108 = RLE8
};

class ToTwentyFour : public testing::TestWithParam<DepthCase>
{};

TEST_P(ToTwentyFour, KeepsEveryPixel)
{
    DibGuard image(makeImage(11, 6, [](int x, int y) {
        return static_cast<std::uint32_t>(x * 8) << 16 | static_cast<std::uint32_t>(y * 16);
    }));
    if (GetParam().depth == 16) {
        ASSERT_TRUE(DIBto16Bit(image.get(), 0));
    } else
        ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    if (GetParam().depth == 108) {
        ASSERT_TRUE(DIBtoRLE(image.get()));
    }
    const DibSnapshot before = snapshotOf(image.get());
    ASSERT_TRUE(DIBto24Bit(image.get()));
    const DibSnapshot after = snapshotOf(image.get());
    EXPECT_EQ(after.bitCount, 24);
    EXPECT_EQ(after.compression, 0u);
    EXPECT_EQ(after.rgb, before.rgb);
}

INSTANTIATE_TEST_SUITE_P(Depths, ToTwentyFour,
                         testing::Values(DepthCase{"From8", 8}, DepthCase{"From16", 16}, DepthCase{"FromRle8", 108}),
                         [](const auto& info) { return std::string(info.param.name); });

struct GrayCase {
    const char* name;
    int depth;
    int strength;
};

class Gray : public testing::TestWithParam<GrayCase>
{};

// Each channel moves strength/255 of the way to the pixel's luma (BT.601).
TEST_P(Gray, MovesLinearlyTowardLuma)
{
    const GrayCase c = GetParam();
    DibGuard image(makeImage(9, 5, ramp));
    if (c.depth == 8) {
        ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    }
    const DibSnapshot before = snapshotOf(image.get());
    ASSERT_TRUE(GrayDIB(image.get(), c.strength));
    const DibSnapshot after = snapshotOf(image.get());
    for (std::size_t i = 0; i < before.rgb.size(); ++i) {
        const double y = lumaOf(before.rgb[i]);
        for (int shift = 0; shift <= 16; shift += 8) {
            const double from = channel(before.rgb[i], shift);
            const double expected = from + (y - from) * c.strength / 255.0;
            EXPECT_LE(std::abs(channel(after.rgb[i], shift) - expected), 1.0) << i;  // rounding of luma and mix
        }
    }
    if (c.depth == 8) {
        EXPECT_EQ(after.bits, before.bits);  // 8 bits: only the palette changes
    }
}

INSTANTIATE_TEST_SUITE_P(Strengths, Gray,
                         testing::Values(GrayCase{"None24", 24, 0}, GrayCase{"Half24", 24, 128},
                                         GrayCase{"Full24", 24, 255}, GrayCase{"One24", 24, 1},
                                         GrayCase{"Half8", 8, 128}, GrayCase{"Full8", 8, 255}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Gray, FullStrengthOnSixteenBitsGivesGreyLevels)
{
    DibGuard image(makeImage(9, 5, ramp));
    ASSERT_TRUE(DIBto16Bit(image.get(), 0));
    ASSERT_TRUE(GrayDIB(image.get(), 255));
    for (std::uint32_t p : snapshotOf(image.get()).rgb) {
        EXPECT_EQ(channel(p, 16), channel(p, 8));
        EXPECT_EQ(channel(p, 8), channel(p, 0));
    }
}

TEST(Gray, StrengthOutsideTheRangeIsRefused)
{
    DibGuard image(makeImage(2, 2, ramp));
    const DibSnapshot before = snapshotOf(image.get());
    EXPECT_EQ(GrayDIB(image.get(), 256).error, DibError::BadArgument);
    EXPECT_EQ(GrayDIB(image.get(), -1).error, DibError::BadArgument);
    EXPECT_EQ(snapshotOf(image.get()).rgb, before.rgb);
}

TEST(Rle, OnlyEightBitImagesChange)
{
    DibGuard image(makeImage(4, 4, ramp));
    EXPECT_EQ(DIBtoRLE(image.get()).error, DibError::WrongDepth);
    EXPECT_EQ(snapshotOf(image.get()).compression, 0u);
    ASSERT_TRUE(DIBto16Bit(image.get(), 0));
    EXPECT_EQ(DIBtoRLE(image.get()).error, DibError::WrongDepth);
    EXPECT_EQ(snapshotOf(image.get()).bitCount, 16);
}

TEST(PngOptionsRecord, SixteenLittleEndianBytes)
{
    const std::array<std::uint8_t, 16> bytes = {0x87, 0, 0, 0, 6, 0, 0xAA, 0xBB, 0x50, 0, 0, 0, 0x8F, 0xB1, 0, 0};
    const PngOptions o = PngOptions::fromBytes(bytes);
    EXPECT_EQ(o.flags, 0x87u);
    EXPECT_EQ(o.level, 6);
    EXPECT_EQ(o.unused, 0xBBAA);
    EXPECT_EQ(o.filters, 80u);
    EXPECT_EQ(o.gamma, 45455u);
    EXPECT_EQ(o.toBytes(), bytes);
}

}  // namespace
