// DIBto8Bit: exact for few colours, at most 256 for photos, and each method flag
// moving the result the way its caption says.
#include "ColorHistogram.h"
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

std::uint32_t rgbOf(const std::array<std::uint8_t, 4>& q)
{
    return std::uint32_t{q[2]} << 16 | std::uint32_t{q[1]} << 8 | q[0];
}

std::vector<std::uint32_t> paletteOf(const DibSnapshot& s)
{
    std::vector<std::uint32_t> colours;
    for (const auto& q : s.palette)
        colours.push_back(rgbOf(q));
    return colours;
}

struct FewColours {
    const char* name;
    int colours;
    int width, height;
};

class ExactReduction : public testing::TestWithParam<FewColours>
{};

TEST_P(ExactReduction, KeepsEveryColour)
{
    const FewColours c = GetParam();
    // Pairs of colours one level of blue apart, which no coarse grid keeps apart.
    auto colour = [&](int x, int y) {
        const auto k = static_cast<std::uint32_t>((x + y * c.width) % c.colours);
        return (((k / 2) * 2654435761u) & 0xFEFEFEu) | (k & 1);
    };
    DibGuard image(makeImage(c.width, c.height, colour));
    const DibSnapshot before = snapshotOf(image.get());
    ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    const DibSnapshot after = snapshotOf(image.get());
    EXPECT_EQ(after.bitCount, 8);
    EXPECT_LE(after.palette.size(), 256u);
    EXPECT_EQ(after.rgb, before.rgb);
}

INSTANTIATE_TEST_SUITE_P(Counts, ExactReduction,
                         testing::Values(FewColours{"One", 1, 5, 5}, FewColours{"TwoHundred", 200, 40, 30},
                                         FewColours{"TwoHundredFiftySix", 256, 64, 8},
                                         FewColours{"TwoHundredInAWideImage", 200, 1023, 3},
                                         // Tall enough to be read in two parts: the lower part
                                         // meets the colours in another order, or new ones.
                                         FewColours{"TwoHundredInTwoParts", 200, 7, 100},
                                         FewColours{"NewColoursInTheLowerPart", 256, 3, 80}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Reduction, PhotoLikeScreenshotKeepsAtMost256ColoursAndLooksAlike)
{
    const PillowImage shot = benchScreenshot("desk1080a.png");
    if (!shot.ok)
        GTEST_SKIP() << "benchmark screenshots not found";
    std::vector<std::uint32_t> argb;
    for (std::uint32_t p : shot.rgb)
        argb.push_back(0xFF000000u | p);
    DibGuard image(DIBFromPixels(argb.data(), shot.width, shot.height, static_cast<std::size_t>(shot.width)));
    ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    const DibSnapshot after = snapshotOf(image.get());
    EXPECT_LE(after.palette.size(), 256u);
    EXPECT_LE(std::set<std::uint32_t>(after.rgb.begin(), after.rgb.end()).size(), 256u);
    EXPECT_GE(psnr(shot.rgb, after.rgb), 35.0);  // Pillow's median cut reaches about 38 dB here
}

// More than 256 colours, each alone in its region of colour space (multiples of 4
// on every channel), so the palette match of every pixel can be checked exactly.
std::uint32_t spread(int x, int y)
{
    const auto k = static_cast<std::uint32_t>(x + y * 64) * 2654435761u;
    return ((k >> 8) & 0xFC) << 16 | ((k >> 16) & 0xFC) << 8 | ((k >> 24) & 0xFC);
}

double distanceRgb(std::uint32_t a, std::uint32_t b)
{
    double d = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double v = static_cast<double>((a >> shift) & 0xFF) - static_cast<double>((b >> shift) & 0xFF);
        d += v * v;
    }
    return std::sqrt(d);
}

double distanceYCrCb(std::uint32_t a, std::uint32_t b)
{
    auto ycc = [](std::uint32_t p) {
        const double r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, bl = p & 0xFF;
        return std::array<double, 3>{0.299 * r + 0.587 * g + 0.114 * bl, 0.5 * r - 0.418688 * g - 0.081312 * bl,
                                     -0.168736 * r - 0.331264 * g + 0.5 * bl};
    };
    const auto p = ycc(a), q = ycc(b);
    return std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) + (p[2] - q[2]) * (p[2] - q[2]));
}

double distanceLuma(std::uint32_t a, std::uint32_t b) { return std::abs(lumaOf(a) - lumaOf(b)); }

// 200 spread colours in the upper 40 rows and 200 others below: each part alone fits
// in 256, the two together do not.
std::uint32_t twoHundredEachPart(int x, int y)
{
    const int k = (x + y * 5) % 200 + (y < 40 ? 0 : 200);
    return spread(k % 64, k / 64);
}

// A run of one colour longer than the reduction keeps in one piece, then spread colours.
std::uint32_t longRunThenSpread(int x, int y) { return x < 17000 ? 0x4080C0u : spread(x, y); }

struct MatchCase {
    const char* name;
    std::uint32_t flags;
    double (*distance)(std::uint32_t, std::uint32_t);
    double tolerance;  // the library rounds coordinates to 1/256 of a level
    int width = 64;
    int height = 40;
    std::uint32_t (*pixel)(int, int) = spread;
};

class PaletteMatch : public testing::TestWithParam<MatchCase>
{};

TEST_P(PaletteMatch, EveryPixelGetsTheNearestEntryUnderItsMetric)
{
    const MatchCase c = GetParam();
    DibGuard image(makeImage(c.width, c.height, c.pixel));
    const DibSnapshot before = snapshotOf(image.get());
    ASSERT_TRUE(DIBto8Bit(image.get(), c.flags, 0));
    const DibSnapshot after = snapshotOf(image.get());
    const std::vector<std::uint32_t> palette = paletteOf(after);
    for (std::size_t i = 0; i < before.rgb.size(); ++i) {
        double best = INFINITY;
        for (std::uint32_t entry : palette)
            best = std::min(best, c.distance(before.rgb[i], entry));
        ASSERT_LE(c.distance(before.rgb[i], after.rgb[i]), best + c.tolerance) << "pixel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, PaletteMatch,
                         testing::Values(MatchCase{"Rgb", 0, distanceRgb, 0.0},
                                         MatchCase{"Brightness", MatchBrightness, distanceLuma, 0.01},
                                         MatchCase{"YCrCb", MatchYCrCb, distanceYCrCb, 0.01},
                                         // Every pixel a colour of its own, in two parts: the
                                         // rows past the kept runs are read again.
                                         MatchCase{"RgbNoiseInTwoParts", 0, distanceRgb, 0.0, 64, 128},
                                         MatchCase{"RgbRunLongerThanOnePiece", 0, distanceRgb, 0.0, 20000, 2,
                                                   longRunThenSpread},
                                         MatchCase{"RgbOver256OnlyWithBothParts", 0, distanceRgb, 0.0, 5, 80,
                                                   twoHundredEachPart}),
                         [](const auto& info) { return std::string(info.param.name); });

double meanError(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                 double (*distance)(std::uint32_t, std::uint32_t))
{
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += distance(a[i], b[i]);
    return sum / static_cast<double>(a.size());
}

TEST(PaletteMatch, BrightnessMatchingTradesColourForBrightness)
{
    DibGuard rgb(makeImage(64, 40, spread));
    DibGuard luma(makeImage(64, 40, spread));
    const DibSnapshot original = snapshotOf(rgb.get());
    ASSERT_TRUE(DIBto8Bit(rgb.get(), 0, 0));
    ASSERT_TRUE(DIBto8Bit(luma.get(), MatchBrightness, 0));
    const DibSnapshot byRgb = snapshotOf(rgb.get());
    const DibSnapshot byLuma = snapshotOf(luma.get());
    EXPECT_LT(meanError(original.rgb, byLuma.rgb, distanceLuma), meanError(original.rgb, byRgb.rgb, distanceLuma));
    EXPECT_LT(meanError(original.rgb, byRgb.rgb, distanceRgb), meanError(original.rgb, byLuma.rgb, distanceRgb));
}

// Green 0..63 down the rows, blue 0..255 across. Split by the widest channel, blue
// is cut most; weighed by brightness, green (0.587) outweighs blue (0.114), so green
// is cut more often than before and blue less.
TEST(BoxSplit, BrightnessSplitCutsGreenMoreThanTheWidestChannelSplit)
{
    auto levels = [](std::uint32_t flags, int shift) {
        DibGuard image(makeImage(
            256, 64, [](int x, int y) { return static_cast<std::uint32_t>(y) << 8 | static_cast<std::uint32_t>(x); }));
        EXPECT_TRUE(DIBto8Bit(image.get(), flags, 0));
        std::set<unsigned> values;
        for (std::uint32_t p : paletteOf(snapshotOf(image.get())))
            values.insert((p >> shift) & 0xFF);
        return values.size();
    };
    EXPECT_GT(levels(0, 0), levels(0, 8));  // the widest channel, blue, has most levels
    EXPECT_GT(levels(SplitByBrightness, 8), levels(0, 8));
    EXPECT_LT(levels(SplitByBrightness, 0), levels(0, 0));
}

// 255 colours of 20 pixels each on a grid with red 0 and green, blue 15 .. 255, and one
// tight cluster off the grid: three pixels of red 100 and one each of red 108 and 132.
// The 258 colours need one box to hold the whole cluster, the cheapest place for two
// merges under every colour method.
TEST(BoxColour, MiddleDistinctMeanAndPixelMeanInTheirOrder)
{
    auto clusterRed = [](std::uint32_t flags) {
        DibGuard image(makeImage(1021, 5, [](int x, int y) {
            const int i = x + y * 1021;
            if (i < 20 * 255) {
                const int k = i / 20;
                return static_cast<std::uint32_t>((k % 16) * 16 + 15) << 8
                       | static_cast<std::uint32_t>((k / 16) * 16 + 15);
            }
            if (i == 20 * 255)
                return 108u << 16;
            if (i == 20 * 255 + 1)
                return 132u << 16;
            return 100u << 16;
        }));
        EXPECT_TRUE(DIBto8Bit(image.get(), flags, 0));
        const DibSnapshot s = snapshotOf(image.get());
        return static_cast<int>((s.rgb.back() >> 16) & 0xFF);
    };
    EXPECT_EQ(clusterRed(0), 116);                   // middle of 100 .. 132
    EXPECT_EQ(clusterRed(ColorFromDistinct), 113);   // (100 + 108 + 132) / 3
    EXPECT_EQ(clusterRed(ColorFromAllPixels), 108);  // (3 x 100 + 108 + 132) / 5: pulled toward 100
}

// Rows as runs of one colour: runs ending at every place in a group of eight pixels,
// neighbours apart in one channel only, and rows whose width ends inside a group; the
// row is held in exactly its own bytes, so that a read past it shows in the sanitised
// build.
std::uint32_t runsOfEveryLength(int x)
{
    int k = 0;
    for (int start = 0; x >= start + k % 9 + 1; ++k)
        start += k % 9 + 1;
    constexpr std::uint32_t oneChannelApart[] = {0x000001u, 0x000100u, 0x010000u, 0u};
    return oneChannelApart[k % 4];
}

TEST(ColorRuns, EachRunOnceWithItsLength)
{
    const std::pair<const char*, std::uint32_t (*)(int)> rows[] = {
        {"one colour", [](int) { return 0x123456u; }},
        {"every pixel new", [](int x) { return static_cast<std::uint32_t>(x) * 0x010203u & 0xFFFFFFu; }},
        {"white then black", [](int x) { return x < 5 ? 0xFFFFFFu : 0u; }},
        {"runs of 1 to 9 pixels", runsOfEveryLength},
    };
    for (const auto& [name, colour] : rows)
        for (const int width : {1, 9, 10, 11, 17, 64, 203}) {
            SCOPED_TRACE(std::string(name) + ", width " + std::to_string(width));
            std::vector<std::uint8_t> bgr;
            std::vector<ColorRun> expected;
            for (int x = 0; x < width; ++x) {
                const std::uint32_t rgb = colour(x);
                bgr.insert(bgr.end(), {static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8),
                                       static_cast<std::uint8_t>(rgb >> 16)});
                if (expected.empty() || expected.back().rgb != rgb)
                    expected.push_back({rgb, 0});
                ++expected.back().length;
            }
            std::vector<ColorRun> runs(colorRunRoom(width));
            runs.resize(colorRuns(bgr.data(), width, runs.data()));
            ASSERT_EQ(runs.size(), expected.size());
            for (std::size_t i = 0; i < runs.size(); ++i)
                EXPECT_TRUE(runs[i].rgb == expected[i].rgb && runs[i].length == expected[i].length) << "run " << i;
        }
}

TEST(Reduction, EightBitImageStaysAndReservedMustBeZero)
{
    DibGuard image(makeImage(3, 3, [](int x, int) { return static_cast<std::uint32_t>(x); }));
    EXPECT_EQ(DIBto8Bit(image.get(), 0, 1).error, DibError::BadArgument);
    ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    const DibSnapshot once = snapshotOf(image.get());
    ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    EXPECT_EQ(snapshotOf(image.get()).bits, once.bits);
    EXPECT_EQ(DIBto8Bit(0, 0, 0).error, DibError::BadHandle);
}

}  // namespace
