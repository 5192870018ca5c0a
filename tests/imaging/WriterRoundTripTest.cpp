// Every writer at every colour depth and at widths that exercise the row padding,
// decoded by Pillow and compared pixel by pixel with what the image holds.
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace {

enum class Writer { Bmp, Png, PngInterlaced, Jpeg };
enum class Depth { Bits24, Bits16, Bits8, Rle8 };

// 200 colours scattered over the picture: every depth keeps them apart, and 8 bits
// hold them exactly.
std::uint32_t scattered(int x, int y)
{
    const unsigned k = (static_cast<unsigned>(x) * 7919u + static_cast<unsigned>(y) * 104729u) % 200u;
    return ((k * 37u) % 256u) << 16 | ((k * 91u) % 256u) << 8 | ((k * 53u + 17u) % 256u);
}

// Gentle gradients without edges, for JPEG, whose chroma subsampling blurs sharp
// colour edges.
std::uint32_t smooth(int x, int y)
{
    const int t = x % 256;
    return static_cast<std::uint32_t>(40 + (t < 128 ? t : 255 - t)) << 16 | static_cast<std::uint32_t>(60 + y * 5) << 8
           | 128u;
}

void convert(DIBHandle image, Depth depth)
{
    const std::int32_t zero = 0;
    if (depth == Depth::Bits16) {
        ASSERT_TRUE(DIBto16Bit(image, zero));
    }
    if (depth == Depth::Bits8 || depth == Depth::Rle8) {
        ASSERT_TRUE(DIBto8Bit(image, 0, 0));
    }
    if (depth == Depth::Rle8) {
        ASSERT_TRUE(DIBtoRLE(image));
    }
}

DibStatus writeFile(Writer writer, const std::string& path, DIBHandle image)
{
    switch (writer) {
    case Writer::Bmp: return DIBtoBMP(path, image);
    case Writer::Png: return DIBtoPNG(path, image, 0);
    case Writer::PngInterlaced: {
        PngOptions options;
        options.flags = PngOptions::LevelGiven | PngOptions::Interlaced;
        options.level = 6;
        return DIBtoPNGex(path, image, options);
    }
    case Writer::Jpeg: return DIBtoJPG(path, image, 95, 0);
    }
    return {DibError::BadArgument};
}

// 5-bit level of an 8-bit value: Pillow and the library may expand 5-5-5 pixels to
// 8 bits differently, but both keep the level.
unsigned level5(std::uint32_t rgb, int shift) { return (((rgb >> shift) & 0xFF) * 31 + 127) / 255; }

using Case = std::tuple<Writer, Depth, int>;

class WriterRoundTrip : public testing::TestWithParam<Case>
{};

TEST_P(WriterRoundTrip, PillowReadsWhatTheImageHolds)
{
    const auto [writer, depth, width] = GetParam();
    const int height = 7;
    const bool lossy = writer == Writer::Jpeg;
    DibGuard image(makeImage(width, height, lossy ? smooth : scattered));
    ASSERT_TRUE(image);
    convert(image.get(), depth);
    const DibSnapshot held = snapshotOf(image.get());
    TempDir dir;
    const std::string path = dir.file("out.img");
    ASSERT_TRUE(writeFile(writer, path, image.get()));
    const PillowImage decoded = decodeWithPillow(path);
    ASSERT_TRUE(decoded.ok);
    ASSERT_EQ(decoded.width, width);
    ASSERT_EQ(decoded.height, height);
    const bool fiveBits = depth == Depth::Bits16 && writer == Writer::Bmp;
    for (std::size_t i = 0; i < held.rgb.size(); ++i) {
        const std::uint32_t a = held.rgb[i];
        const std::uint32_t b = decoded.rgb[i];
        for (int shift = 0; shift <= 16; shift += 8) {
            // JPEG at quality 95 on gentle gradients: within 12 levels per channel.
            if (lossy)
                ASSERT_LE(std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)), 12)
                    << "pixel " << i;
            else if (fiveBits) {
                ASSERT_EQ(level5(a, shift), level5(b, shift)) << "pixel " << i;
            } else
                ASSERT_EQ((a >> shift) & 0xFF, (b >> shift) & 0xFF) << "pixel " << i;
        }
    }
}

std::string caseName(const testing::TestParamInfo<Case>& info)
{
    const char* writers[] = {"Bmp", "Png", "PngAdam7", "Jpeg"};
    const char* depths[] = {"24", "16", "8", "Rle8"};
    return std::string(writers[static_cast<int>(std::get<0>(info.param))]) + "_"
           + depths[static_cast<int>(std::get<1>(info.param))] + "_w" + std::to_string(std::get<2>(info.param));
}

INSTANTIATE_TEST_SUITE_P(AllWritersDepthsWidths, WriterRoundTrip,
                         testing::Combine(testing::Values(Writer::Bmp, Writer::Png, Writer::PngInterlaced,
                                                          Writer::Jpeg),
                                          testing::Values(Depth::Bits24, Depth::Bits16, Depth::Bits8, Depth::Rle8),
                                          testing::Values(1, 2, 3, 5, 17, 1023)),
                         caseName);

}  // namespace
