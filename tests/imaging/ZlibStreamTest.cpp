// The deflate stream made in parts: whatever the data, the number of parts and the
// level, zlib inflates it (checking its Adler-32) to exactly the data; and a PNG large
// enough to be deflated on several cores decodes to the image's pixels.
#include "ImagingTestSupport.h"
#include "ZlibStream.h"

#include <gtest/gtest.h>

#include <random>
#include <zlib.h>

namespace {

std::vector<std::uint8_t> inflateAll(const Bytes& stream, std::size_t size)
{
    std::vector<std::uint8_t> out(size + 1);
    uLongf length = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &length, stream.data(), static_cast<uLong>(stream.size())) != Z_OK)
        return {};
    out.resize(length);
    return out;
}

std::vector<std::uint8_t> noise(std::size_t size)
{
    std::mt19937 random(7);
    std::vector<std::uint8_t> data(size);
    for (std::uint8_t& b : data)
        b = static_cast<std::uint8_t>(random());
    return data;
}

// Scanlines of a screenshot-like image: flat runs, a gradient, and repeats.
std::vector<std::uint8_t> scanlines(std::size_t size)
{
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<std::uint8_t>((i / 3000) % 7 == 0 ? (i * 31) >> 4 : (i % 1500) / 100);
    return data;
}

struct PartsCase {
    const char* name;
    std::vector<std::uint8_t> data;
    int level;
    int parts;
    std::size_t unit;
};

class ZlibParts : public testing::TestWithParam<PartsCase>
{};

TEST_P(ZlibParts, InflatesToTheData)
{
    const PartsCase& c = GetParam();
    Bytes stream;
    ASSERT_EQ(zlibCompressInParts(c.data.data(), c.data.size(), c.level, c.parts, c.unit, stream), DibError::None);
    EXPECT_EQ(inflateAll(stream, c.data.size()), c.data);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZlibParts,
                         testing::Values(PartsCase{"ScanlinesInTwo", scanlines(3 << 20), 6, 2, 5761},
                                         PartsCase{"ScanlinesInFive", scanlines(3 << 20), 6, 5, 1},
                                         PartsCase{"NoiseStored", noise(1 << 20), 0, 3, 1},
                                         PartsCase{"NoiseSmallest", noise(1 << 19), 9, 2, 1},
                                         PartsCase{"ZerosFastest", std::vector<std::uint8_t>(1 << 21), 1, 4, 1},
                                         PartsCase{"FewerBytesThanParts", {1, 2, 3}, 6, 5, 1},
                                         PartsCase{"Empty", {}, 6, 3, 1}),
                         [](const testing::TestParamInfo<PartsCase>& info) { return std::string(info.param.name); });

struct LargePngCase {
    const char* name;
    bool eightBit;
    bool interlaced;
};

class ParallelPng : public testing::TestWithParam<LargePngCase>
{};

// Over two megabytes of scanlines even at 8 bits: more than one part on a machine of
// two cores.
TEST_P(ParallelPng, PillowDecodesTheImage)
{
    const LargePngCase& c = GetParam();
    DibGuard image(makeImage(1800, 1250, [](int x, int y) {
        return ((x / 40 + y / 30) % 5 == 0) ? (x * 2654435761u ^ y * 97u) & 0xFFFFFFu : 0x204060u + 3u * (x % 50);
    }));
    if (c.eightBit) {
        ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    }
    const DibSnapshot held = snapshotOf(image.get());
    TempDir dir;
    PngOptions options;
    options.flags = c.interlaced ? PngOptions::Interlaced : 0;
    ASSERT_TRUE(DIBtoPNGex(dir.file("a.png"), image.get(), options));
    const PillowImage decoded = decodeWithPillow(dir.file("a.png"));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.rgb, held.rgb);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ParallelPng,
                         testing::Values(LargePngCase{"TrueColour", false, false},
                                         LargePngCase{"TrueColourInterlaced", false, true},
                                         LargePngCase{"Palette", true, false}),
                         [](const testing::TestParamInfo<LargePngCase>& info) { return std::string(info.param.name); });

}  // namespace
