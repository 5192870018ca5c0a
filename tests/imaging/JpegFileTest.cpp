// JPEG: baseline or progressive as asked, quality bounds, and quality changing size.
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t texture(int x, int y)
{
    return static_cast<std::uint32_t>((x * x + y * 3) & 0xFF) << 16 | static_cast<std::uint32_t>((x * y) & 0xFF) << 8
           | static_cast<std::uint32_t>((y * y + x) & 0xFF);
}

// Start-of-frame markers present in the file (0xC0 baseline, 0xC2 progressive).
std::vector<int> framesOf(const std::vector<std::uint8_t>& f)
{
    std::vector<int> frames;
    std::size_t at = 2;
    while (at + 4 <= f.size() && f[at] == 0xFF) {
        const int marker = f[at + 1];
        if (marker == 0xDA)
            break;  // start of scan: the headers are over
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            frames.push_back(marker);
        at += 2 + (std::size_t{f[at + 2]} << 8 | f[at + 3]);
    }
    return frames;
}

struct ModeCase {
    const char* name;
    int progressive;
    int marker;
};

class JpegMode : public testing::TestWithParam<ModeCase>
{};

TEST_P(JpegMode, WritesTheMatchingFrameMarker)
{
    DibGuard image(makeImage(64, 48, texture));
    TempDir dir;
    ASSERT_TRUE(DIBtoJPG(dir.file("a.jpg"), image.get(), 60, GetParam().progressive));
    const std::vector<std::uint8_t> f = readFileBytes(dir.file("a.jpg"));
    ASSERT_GE(f.size(), 4u);
    EXPECT_EQ(f[0], 0xFF);
    EXPECT_EQ(f[1], 0xD8);
    EXPECT_EQ(framesOf(f), std::vector<int>{GetParam().marker});
    const PillowImage decoded = decodeWithPillow(dir.file("a.jpg"));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.fields.at("format"), "JPEG");
    EXPECT_EQ(decoded.fields.contains("info.progressive"), GetParam().marker == 0xC2);
}

INSTANTIATE_TEST_SUITE_P(Flags, JpegMode,
                         testing::Values(ModeCase{"Baseline", 0, 0xC0}, ModeCase{"OptionsWindowTrue", -1, 0xC2},
                                         ModeCase{"AutoSaveTicked", 1, 0xC2}),
                         [](const auto& info) { return std::string(info.param.name); });

// Large baseline images are encoded in two bands on two cores; what a decoder makes of
// the file must be exactly what it makes of Pillow's single pass on the same libjpeg.
struct PillowMatchCase {
    const char* name;
    int width, height, quality, depth;
};

class JpegLikePillow : public testing::TestWithParam<PillowMatchCase>
{};

TEST_P(JpegLikePillow, DecodesToTheSamePixels)
{
    const PillowMatchCase& c = GetParam();
    DibGuard image(makeImage(c.width, c.height, texture));
    if (c.depth == 8) {
        ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    }
    TempDir dir;
    ASSERT_TRUE(DIBtoBMP(dir.file("source.bmp"), image.get()));
    ASSERT_TRUE(DIBtoJPG(dir.file("ours.jpg"), image.get(), c.quality, 0));
    ASSERT_TRUE(encodeJpegWithPillow(dir.file("source.bmp"), dir.file("pillow.jpg"), c.quality));
    const PillowImage ours = decodeWithPillow(dir.file("ours.jpg"));
    const PillowImage pillow = decodeWithPillow(dir.file("pillow.jpg"));
    ASSERT_TRUE(ours.ok && pillow.ok);
    EXPECT_EQ(ours.rgb, pillow.rgb);
}

INSTANTIATE_TEST_SUITE_P(Sizes, JpegLikePillow,
                         testing::Values(PillowMatchCase{"OnePass", 128, 96, 60, 24},
                                         PillowMatchCase{"TwoBandsFullHd", 1920, 1080, 60, 24},
                                         PillowMatchCase{"TwoBandsOddSize", 1001, 517, 95, 24},
                                         PillowMatchCase{"TwoBandsFromEightBits", 800, 400, 60, 8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegQuality, HigherQualityGivesLargerFiles)
{
    DibGuard image(makeImage(128, 96, texture));
    TempDir dir;
    std::vector<std::size_t> sizes;
    for (int quality : {1, 20, 60, 95, 100}) {
        const std::string path = dir.file("q" + std::to_string(quality) + ".jpg");
        ASSERT_TRUE(DIBtoJPG(path, image.get(), quality, 0));
        sizes.push_back(readFileBytes(path).size());
    }
    for (std::size_t i = 1; i < sizes.size(); ++i)
        EXPECT_GT(sizes[i], sizes[i - 1]);
}

TEST(JpegQuality, OutsideOneToHundredIsRefusedAndWritesNothing)
{
    DibGuard image(makeImage(8, 8, texture));
    TempDir dir;
    EXPECT_EQ(DIBtoJPG(dir.file("a.jpg"), image.get(), 0, 0).error, DibError::BadArgument);
    EXPECT_EQ(DIBtoJPG(dir.file("a.jpg"), image.get(), 101, 0).error, DibError::BadArgument);
    EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
