// DIBStretchDIBits: exact at 1:1, area averages when shrinking, smooth when
// enlarging, nearest pixel in COLORONCOLOR, and clipped to the surface.
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::uint32_t noise(int x, int y)
{
    return (static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u) & 0xFFFFFFu;
}

std::uint32_t at(const DeviceContext& dc, int x, int y) { return dc.row(y)[x] & 0xFFFFFFu; }

unsigned channel(std::uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

// The whole image drawn into a fresh surface of the given size.
DeviceContext stretched(DIBHandle image, int srcWidth, int srcHeight, int width, int height, int mode)
{
    DeviceContext dc(width, height);
    dc.stretchMode = mode;
    EXPECT_TRUE(DIBStretchDIBits(dc, 0, 0, width, height, image, 0, 0, srcWidth, srcHeight, SRCCOPY));
    return dc;
}

struct DepthCase {
    const char* name;
    int depth;  // 24, 16, 8, 108 = RLE8
};

class OneToOne : public testing::TestWithParam<DepthCase>
{};

TEST_P(OneToOne, ChangesNoPixelInEitherMode)
{
    const int depth = GetParam().depth;
    const int w = 37, h = 23;
    DibGuard image(makeImage(
        w, h, depth >= 24 ? noise : [](int x, int y) { return noise(x % 10, y % 20); }));
    if (depth == 16) {
        ASSERT_TRUE(DIBto16Bit(image.get(), 0));
    }
    if (depth == 8 || depth == 108) {
        ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    }
    if (depth == 108) {
        ASSERT_TRUE(DIBtoRLE(image.get()));
    }
    const DibSnapshot held = snapshotOf(image.get());
    for (int mode : {HALFTONE, COLORONCOLOR}) {
        DeviceContext dc(w, h);
        dc.stretchMode = mode;
        ASSERT_TRUE(DIBStretchDIBits(dc, 0, 0, w, h, image.get(), 0, 0, w, h, SRCCOPY));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(at(dc, x, y), held.rgb[static_cast<std::size_t>(y * w + x)]) << x << "," << y;
        // And back: DCtoDIB of the surface is the image again.
        DibGuard again(DCtoDIB(dc, 0, 0, w, h));
        EXPECT_EQ(snapshotOf(again.get()).rgb, held.rgb);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, OneToOne,
                         testing::Values(DepthCase{"Bits24", 24}, DepthCase{"Bits16", 16}, DepthCase{"Bits8", 8},
                                         DepthCase{"Rle8", 108}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ShrinkCase {
    const char* name;
    int factor;
};

class HalftoneShrink : public testing::TestWithParam<ShrinkCase>
{};

// Integer factors: every destination pixel is the rounded mean of its block.
TEST_P(HalftoneShrink, AveragesEachBlock)
{
    const int f = GetParam().factor;
    const int w = 6 * f, h = 4 * f;
    DibGuard image(makeImage(w, h, noise));
    const DibSnapshot src = snapshotOf(image.get());
    const DeviceContext dc = stretched(image.get(), w, h, 6, 4, HALFTONE);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            for (int shift = 0; shift <= 16; shift += 8) {
                double sum = 0;
                for (int j = 0; j < f; ++j)
                    for (int i = 0; i < f; ++i)
                        sum += channel(src.rgb[static_cast<std::size_t>((y * f + j) * w + x * f + i)], shift);
                // The rounded mean: within half a level of the exact one.
                EXPECT_LE(std::abs(channel(at(dc, x, y), shift) - sum / (f * f)), 0.5) << x << "," << y;
            }
}

INSTANTIATE_TEST_SUITE_P(Factors, HalftoneShrink,
                         testing::Values(ShrinkCase{"Half", 2}, ShrinkCase{"Third", 3}, ShrinkCase{"Quarter", 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HalftoneShrink, NonIntegerFactorWeighsPartlyCoveredPixels)
{
    // Three columns 0, 90, 180 onto two: each output covers 1.5 inputs.
    DibGuard image(makeImage(3, 1, [](int x, int) { return static_cast<std::uint32_t>(x * 90) << 16; }));
    const DeviceContext dc = stretched(image.get(), 3, 1, 2, 1, HALFTONE);
    EXPECT_EQ(channel(at(dc, 0, 0), 16), 30u);   // (0 * 1 + 90 * 0.5) / 1.5
    EXPECT_EQ(channel(at(dc, 1, 0), 16), 150u);  // (90 * 0.5 + 180 * 1) / 1.5
}

// Overlap of source pixel [i, i + 1) with destination pixel d's span at the given scale.
double coverage(int i, int d, double scale)
{
    return std::max(0.0, std::min(i + 1.0, (d + 1) * scale) - std::max<double>(i, d * scale));
}

TEST(HalftoneShrink, AnyFactorIsTheAreaWeightedMean)
{
    const int w = 23, h = 17, dw = 7, dh = 5;
    DibGuard image(makeImage(w, h, noise));
    const DibSnapshot src = snapshotOf(image.get());
    const DeviceContext dc = stretched(image.get(), w, h, dw, dh, HALFTONE);
    const double sx = static_cast<double>(w) / dw, sy = static_cast<double>(h) / dh;
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x)
            for (int shift = 0; shift <= 16; shift += 8) {
                double sum = 0;
                for (int j = 0; j < h; ++j)
                    for (int i = 0; i < w; ++i)
                        sum += coverage(i, x, sx) * coverage(j, y, sy)
                               * channel(src.rgb[static_cast<std::size_t>(j * w + i)], shift);
                // Two passes, each rounded to a level: within one level of the exact mean.
                EXPECT_LE(std::abs(channel(at(dc, x, y), shift) - sum / (sx * sy)), 1.0) << x << "," << y;
            }
}

TEST(HalftoneEnlarge, IsSmoothAndStaysBetweenNeighbours)
{
    DibGuard image(makeImage(2, 1, [](int x, int) { return x == 0 ? 0x000000u : 0xC8C8C8u; }));
    const DeviceContext dc = stretched(image.get(), 2, 1, 8, 2, HALFTONE);
    std::vector<unsigned> row;
    for (int x = 0; x < 8; ++x)
        row.push_back(channel(at(dc, x, 0), 8));
    EXPECT_TRUE(std::is_sorted(row.begin(), row.end()));
    EXPECT_GT(std::count_if(row.begin(), row.end(), [](unsigned v) { return v > 0 && v < 200; }), 2);
    EXPECT_EQ(row.front(), 0u);
    EXPECT_EQ(row.back(), 200u);
}

TEST(ColorOnColor, TakesTheNearestSourcePixel)
{
    const int w = 5, h = 3;
    DibGuard image(makeImage(w, h, noise));
    const DibSnapshot src = snapshotOf(image.get());
    const DeviceContext dc = stretched(image.get(), w, h, 13, 7, COLORONCOLOR);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            const int sx = static_cast<int>((x + 0.5) * w / 13);
            const int sy = static_cast<int>((y + 0.5) * h / 7);
            EXPECT_EQ(at(dc, x, y), src.rgb[static_cast<std::size_t>(sy * w + sx)]);
        }
}

TEST(Stretch, ClipsToTheSurfaceAndLeavesTheRestAlone)
{
    DibGuard image(makeImage(10, 10, noise));
    const DibSnapshot src = snapshotOf(image.get());
    DeviceContext dc(8, 8);
    dc.fill(0x123456);
    ASSERT_TRUE(DIBStretchDIBits(dc, 3, -2, 10, 10, image.get(), 0, 0, 10, 10, SRCCOPY));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t expected = x < 3 ? 0x123456u : src.rgb[static_cast<std::size_t>((y + 2) * 10 + x - 3)];
            EXPECT_EQ(at(dc, x, y), expected);
        }
    EXPECT_TRUE(DIBStretchDIBits(dc, 100, 100, 10, 10, image.get(), 0, 0, 10, 10, SRCCOPY));
}

TEST(Stretch, SourceRectangleIsCountedFromTheTop)
{
    DibGuard image(makeImage(4, 4, noise));
    const DibSnapshot src = snapshotOf(image.get());
    DeviceContext dc(2, 1);
    ASSERT_TRUE(DIBStretchDIBits(dc, 0, 0, 2, 1, image.get(), 1, 2, 2, 1, SRCCOPY));
    EXPECT_EQ(at(dc, 0, 0), src.rgb[2 * 4 + 1]);
    EXPECT_EQ(at(dc, 1, 0), src.rgb[2 * 4 + 2]);
}

struct BadCall {
    const char* name;
    int destW, destH, srcX, srcY, srcW, srcH;
    std::uint32_t rop;
};

class StretchRefuses : public testing::TestWithParam<BadCall>
{};

TEST_P(StretchRefuses, WithoutTouchingTheSurface)
{
    const BadCall c = GetParam();
    DibGuard image(makeImage(4, 4, noise));
    DeviceContext dc(4, 4);
    dc.fill(0x777777);
    EXPECT_EQ(DIBStretchDIBits(dc, 0, 0, c.destW, c.destH, image.get(), c.srcX, c.srcY, c.srcW, c.srcH, c.rop).error,
              DibError::BadArgument);
    EXPECT_EQ(at(dc, 0, 0), 0x777777u);
}

INSTANTIATE_TEST_SUITE_P(Arguments, StretchRefuses,
                         testing::Values(BadCall{"ZeroDest", 0, 4, 0, 0, 4, 4, SRCCOPY},
                                         BadCall{"ZeroSource", 4, 4, 0, 0, 0, 0, SRCCOPY},
                                         BadCall{"SourcePastEdge", 4, 4, 2, 0, 4, 4, SRCCOPY},
                                         BadCall{"NegativeSource", 4, 4, -1, 0, 4, 4, SRCCOPY},
                                         BadCall{"OtherRasterOp", 4, 4, 0, 0, 4, 4, 0x00EE0086}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Stretch, ZeroHandleIsRefused)
{
    DeviceContext dc(4, 4);
    EXPECT_EQ(DIBStretchDIBits(dc, 0, 0, 4, 4, 0, 0, 0, 4, 4, SRCCOPY).error, DibError::BadHandle);
}

}  // namespace
