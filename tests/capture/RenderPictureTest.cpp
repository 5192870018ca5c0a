#include "CaptureSelection.h"
#include "OutputOptions.h"
#include "RenderPicture.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>

namespace {

constexpr std::uint32_t Opaque = 0xFF000000u;

std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return Opaque | (r << 16) | (g << 8) | b; }

// A desktop of random colours: every pixel differs from its neighbours, so a
// shifted or scaled copy cannot pass for an exact one.
DeviceContext noisyDesktop(int width, int height)
{
    DeviceContext desktop(width, height);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            desktop.row(y)[x] = Opaque | (random() & 0xFFFFFFu);
    return desktop;
}

struct Surfaces {
    DeviceContext picture;
    CaptureSelection selection;
};

// What the refresh's first steps leave: the picture sized and black.
Surfaces prepared(int width, int height, std::int16_t magnification)
{
    Surfaces s;
    s.selection.Magnification = magnification;
    SetSelectionSizes(s.selection, width, height);
    s.picture.resize(s.selection.ViewWidth, s.selection.ViewHeight);
    return s;
}

std::set<std::uint32_t> colorsOf(const DeviceContext& dc)
{
    std::set<std::uint32_t> colors;
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x)
            colors.insert(dc.row(y)[x] & 0xFFFFFFu);
    return colors;
}

// The picture of a whole size x size noisy desktop at 100 %.
DeviceContext renderedWhole(int size, const OutputOptions& options, GreyStep grey)
{
    const DeviceContext desktop = noisyDesktop(size, size);
    Surfaces s = prepared(size, size, 100);
    EXPECT_TRUE(RenderPicture(desktop, s.picture, 0, 0, s.selection, options, grey));
    return s.picture;
}

class ExactCopyTest : public testing::TestWithParam<int>
{};

TEST_P(ExactCopyTest, TwentyFourBitsAtFullSizeShowsTheSelectedPixels)
{
    const DeviceContext desktop = noisyDesktop(320, 240);
    Surfaces s = prepared(123, 77, 100);
    s.picture.stretchMode = GetParam();
    ASSERT_TRUE(RenderPicture(desktop, s.picture, 31, 45, s.selection, OutputOptions{}, GreyStep::No));
    for (int y = 0; y < 77; ++y)
        for (int x = 0; x < 123; ++x)
            ASSERT_EQ(s.picture.row(y)[x] & 0xFFFFFFu, desktop.row(45 + y)[31 + x] & 0xFFFFFFu) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(StretchModes, ExactCopyTest, testing::Values(COLORONCOLOR, HALFTONE),
                         [](const auto& c) { return c.param == HALFTONE ? "Halftone" : "ColorOnColor"; });

struct PlacedCopy {
    std::string name;
    int x;
    int y;
};

class PlacedCopyTest : public testing::TestWithParam<PlacedCopy>
{};

// Wherever the selection lies, the picture shows the desktop's pixels, black where
// the selection runs off the desktop, and is opaque also where the screen's pixels
// carry no alpha.
TEST_P(PlacedCopyTest, ShowsTheDesktopOpaqueAndBlackBeyondIt)
{
    DeviceContext desktop = noisyDesktop(320, 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            desktop.row(y)[x] &= 0xFFFFFFu;
    Surfaces s = prepared(123, 77, 100);
    const PlacedCopy& c = GetParam();
    ASSERT_TRUE(RenderPicture(desktop, s.picture, c.x, c.y, s.selection, OutputOptions{}, GreyStep::Yes));
    for (int y = 0; y < 77; ++y)
        for (int x = 0; x < 123; ++x) {
            const int dx = c.x + x;
            const int dy = c.y + y;
            const bool on = dx >= 0 && dy >= 0 && dx < 320 && dy < 240;
            ASSERT_EQ(s.picture.row(y)[x], on ? desktop.row(dy)[dx] | Opaque : Opaque) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Places, PlacedCopyTest,
                         testing::Values(PlacedCopy{"TopLeftCorner", 0, 0}, PlacedCopy{"BottomRightCorner", 197, 163},
                                         PlacedCopy{"PastTheRightEdge", 250, 10},
                                         PlacedCopy{"PastTheBottomEdge", 10, 200}),
                         OwnCaseName());

TEST(RenderPictureTest, EightBitsLeaveAtMostAPaletteOfColours)
{
    OutputOptions options;
    options.BitDepth = ColorDepth::Bits8;
    const std::size_t colors = colorsOf(renderedWhole(200, options, GreyStep::No)).size();
    EXPECT_LE(colors, 256u);
    EXPECT_GT(colors, 16u);  // a real reduction, not a blank picture
}

// The colours are reduced at the selection's own size, before the scaling: with
// nearest-pixel scaling to 200 % every reduced pixel fills a whole 2 x 2 block.
TEST(RenderPictureTest, ReducedSelectionIsScaledAfterTheReduction)
{
    const DeviceContext desktop = noisyDesktop(90, 70);
    Surfaces s = prepared(40, 30, 200);
    s.picture.stretchMode = COLORONCOLOR;
    OutputOptions options;
    options.BitDepth = ColorDepth::Bits8;
    ASSERT_TRUE(RenderPicture(desktop, s.picture, 5, 6, s.selection, options, GreyStep::No));
    EXPECT_LE(colorsOf(s.picture).size(), 256u);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(s.picture.row(y)[x], s.picture.row(y & ~1)[x & ~1]) << x << "," << y;
}

TEST(RenderPictureTest, SixteenBitsKeepFiveBitsPerChannel)
{
    OutputOptions options;
    options.BitDepth = ColorDepth::Bits16;
    std::set<std::uint32_t> reds;
    for (const std::uint32_t color : colorsOf(renderedWhole(64, options, GreyStep::No)))
        reds.insert((color >> 16) & 0xFFu);
    EXPECT_LE(reds.size(), 32u);
    EXPECT_GT(reds.size(), 16u);
}

struct GreyCase {
    GreyStep step;
    bool expectGrey;
};

class GreyStepTest : public testing::TestWithParam<GreyCase>
{};

TEST_P(GreyStepTest, FullStrengthGreysOnlyWhenAsked)
{
    OutputOptions options;
    options.GrayStrength = 255;
    int coloured = 0;
    for (const std::uint32_t c : colorsOf(renderedWhole(50, options, GetParam().step))) {
        const std::uint32_t r = (c >> 16) & 0xFFu;
        const std::uint32_t g = (c >> 8) & 0xFFu;
        const std::uint32_t b = c & 0xFFu;
        coloured += (r != g || g != b) ? 1 : 0;
    }
    if (GetParam().expectGrey)
        EXPECT_EQ(coloured, 0);
    else
        EXPECT_GT(coloured, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, GreyStepTest,
                         testing::Values(GreyCase{GreyStep::No, false}, GreyCase{GreyStep::Yes, true}),
                         [](const auto& c) {
                             return c.param.step == GreyStep::Yes ? "WithGreyStep" : "WithoutGreyStep";
                         });

TEST(RenderPictureTest, OneAndAHalfTimesFillsTheLargerPicture)
{
    // Four solid quadrants of a 200 x 100 selection at (10, 20).
    DeviceContext desktop(300, 200);
    const std::array<std::uint32_t, 4> quadrants{rgb(200, 0, 0), rgb(0, 200, 0), rgb(0, 0, 200), rgb(200, 200, 0)};
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            desktop.row(20 + y)[10 + x] = quadrants[static_cast<std::size_t>((x / 100) + 2 * (y / 50))];
    Surfaces s = prepared(200, 100, 150);
    ASSERT_EQ(s.picture.width(), 300);
    ASSERT_EQ(s.picture.height(), 150);
    ASSERT_TRUE(RenderPicture(desktop, s.picture, 10, 20, s.selection, OutputOptions{}, GreyStep::No));
    // Away from the seams each quadrant keeps its colour, now 150 x 75.
    for (int q = 0; q < 4; ++q) {
        const int left = (q % 2) * 150;
        const int top = (q / 2) * 75;
        for (int y = top + 2; y < top + 73; ++y)
            for (int x = left + 2; x < left + 148; ++x)
                ASSERT_EQ(s.picture.row(y)[x] & 0xFFFFFFu, quadrants[static_cast<std::size_t>(q)] & 0xFFFFFFu)
                    << "quadrant " << q << " at " << x << "," << y;
    }
}

TEST(RenderPictureTest, EmptySelectionDrawsNothing)
{
    const DeviceContext desktop = noisyDesktop(50, 50);
    Surfaces s = prepared(0, 0, 100);
    EXPECT_TRUE(RenderPicture(desktop, s.picture, 10, 10, s.selection, OutputOptions{}, GreyStep::Yes));
    EXPECT_EQ(s.picture.width(), 0);
}

}  // namespace
