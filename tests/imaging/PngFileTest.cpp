// PNG files read chunk by chunk: gAMA, Adam7, compression level and filter choice as
// the option record asks, palette files for 8-bit images.
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <zlib.h>

namespace {

struct Chunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

std::vector<Chunk> chunksOf(const std::vector<std::uint8_t>& f)
{
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= f.size();) {
        const std::uint32_t length = be32(f, at);
        Chunk c{std::string(f.begin() + static_cast<long>(at) + 4, f.begin() + static_cast<long>(at) + 8), {}};
        c.data.assign(f.begin() + static_cast<long>(at) + 8, f.begin() + static_cast<long>(at + 8 + length));
        const uLong crc = crc32(0, f.data() + at + 4, length + 4);
        EXPECT_EQ(be32(f, at + 8 + length), crc) << c.type;
        chunks.push_back(c);
        at += 12 + length;
    }
    return chunks;
}

std::vector<std::uint8_t> idatOf(const std::vector<Chunk>& chunks)
{
    std::vector<std::uint8_t> z;
    for (const Chunk& c : chunks)
        if (c.type == "IDAT")
            z.insert(z.end(), c.data.begin(), c.data.end());
    return z;
}

std::vector<std::uint8_t> inflated(const std::vector<std::uint8_t>& z, std::size_t size)
{
    std::vector<std::uint8_t> raw(size);
    uLongf length = size;
    EXPECT_EQ(uncompress(raw.data(), &length, z.data(), z.size()), Z_OK);
    EXPECT_EQ(length, size);
    return raw;
}

std::uint32_t photo(int x, int y)
{
    return static_cast<std::uint32_t>((x * 3 + y) & 0xFF) << 16
           | static_cast<std::uint32_t>((y * 2 + (x ^ y)) & 0xFF) << 8
           | static_cast<std::uint32_t>((x + y * y / 7) & 0xFF);
}

constexpr int W = 40, H = 30;

struct PngRun {
    std::vector<Chunk> chunks;
    std::vector<std::uint8_t> file;
    PillowImage decoded;
};

PngRun writeEx(const PngOptions& options, bool eightBit = false)
{
    DibGuard image(makeImage(W, H, photo));
    if (eightBit) {
        EXPECT_TRUE(DIBto8Bit(image.get(), 0, 0));
    }
    TempDir dir;
    EXPECT_TRUE(DIBtoPNGex(dir.file("a.png"), image.get(), options));
    PngRun run;
    run.file = readFileBytes(dir.file("a.png"));
    run.chunks = chunksOf(run.file);
    run.decoded = decodeWithPillow(dir.file("a.png"));
    return run;
}

PngOptions record(std::uint32_t flags, std::uint16_t level, std::uint32_t filters, std::uint32_t gamma)
{
    PngOptions o;
    o.flags = flags;
    o.level = level;
    o.filters = filters;
    o.gamma = gamma;
    return o;
}

struct FilterCase {
    const char* name;
    std::uint32_t filterSet;
    std::set<int> allowed;  // PNG filter types the rows may use
};

class PngFilters : public testing::TestWithParam<FilterCase>
{};

TEST_P(PngFilters, RowsUseOnlyTheFiltersOfTheCheckedBoxes)
{
    const FilterCase c = GetParam();
    const PngRun run = writeEx(record(7, 6, c.filterSet, 45455));
    const std::vector<std::uint8_t> raw = inflated(idatOf(run.chunks), H * (1 + 3 * W));
    std::set<int> used;
    for (int y = 0; y < H; ++y)
        used.insert(raw[static_cast<std::size_t>(y) * (1 + 3 * W)]);
    for (int type : used)
        EXPECT_TRUE(c.allowed.contains(type)) << "filter " << type;
    if (c.allowed.size() == 1) {
        EXPECT_EQ(used, c.allowed);
    }
    EXPECT_TRUE(run.decoded.ok);
}

INSTANTIATE_TEST_SUITE_P(Boxes, PngFilters,
                         testing::Values(FilterCase{"HorizontalIsSub", 8, {1}}, FilterCase{"VerticalIsUp", 16, {2}},
                                         FilterCase{"SimilarChangeIsAverage", 32, {3}},
                                         FilterCase{"SmoothIsPaeth", 64, {4}},
                                         FilterCase{"VerticalAndSmooth", 80, {2, 4}},
                                         FilterCase{"AllFour", 120, {1, 2, 3, 4}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PngOptionsApplied, GammaChunkCarriesTheValue)
{
    for (std::uint32_t gamma : {16u, 45455u, 55556u, 100000u}) {
        const PngRun run = writeEx(record(7, 6, 8, gamma));
        ASSERT_GE(run.chunks.size(), 3u);
        EXPECT_EQ(run.chunks[0].type, "IHDR");
        EXPECT_EQ(run.chunks[1].type, "gAMA");
        EXPECT_EQ(be32(run.chunks[1].data, 0), gamma);
        ASSERT_TRUE(run.decoded.ok);
        EXPECT_NEAR(std::stod(run.decoded.fields.at("info.gamma")), gamma / 100000.0, 1e-5);
    }
}

// The file is still written when the gamma is too small to be stored.
TEST(PngOptionsApplied, NoGammaWithoutItsFlagOrWithZeroOrTooSmall)
{
    for (const PngOptions& o :
         {record(3, 6, 8, 45455), record(7, 6, 8, 0), record(0x81, 6, 0, 0), record(7, 6, 8, 15)}) {
        const PngRun run = writeEx(o);
        ASSERT_TRUE(run.decoded.ok);
        for (const Chunk& c : run.chunks)
            EXPECT_NE(c.type, "gAMA");
    }
}

TEST(PngOptionsApplied, InterlaceFlagWritesAdam7)
{
    const PngRun plain = writeEx(record(1, 6, 0, 0));
    const PngRun adam7 = writeEx(record(0x81, 6, 0, 0));
    EXPECT_EQ(plain.chunks[0].data[12], 0);
    EXPECT_EQ(adam7.chunks[0].data[12], 1);
    ASSERT_TRUE(adam7.decoded.ok);
    EXPECT_EQ(adam7.decoded.fields.at("info.interlace"), "1");
    EXPECT_EQ(adam7.decoded.rgb, plain.decoded.rgb);
}

TEST(PngOptionsApplied, LevelShowsInTheZlibHeaderAndTheSize)
{
    std::vector<std::size_t> sizes;
    for (std::uint16_t level : {0, 1, 6, 9}) {
        const PngRun run = writeEx(record(1, level, 0, 0));
        const std::vector<std::uint8_t> z = idatOf(run.chunks);
        // FLEVEL, the top two bits of the second header byte: 0 fastest .. 3 smallest.
        const int expected = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
        EXPECT_EQ(z[1] >> 6, expected) << level;
        EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);
        sizes.push_back(z.size());
        EXPECT_TRUE(run.decoded.ok);
    }
    EXPECT_GT(sizes[0], static_cast<std::size_t>(H * (1 + 3 * W)));  // level 0 stores
    EXPECT_LT(sizes[1], sizes[0]);
    EXPECT_LE(sizes[3], sizes[1]);
}

TEST(PngOptionsApplied, LevelAboveNineIsRefused)
{
    DibGuard image(makeImage(4, 4, photo));
    TempDir dir;
    EXPECT_EQ(DIBtoPNGex(dir.file("a.png"), image.get(), record(1, 10, 0, 0)).error, DibError::BadArgument);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(PngDefaults, PaletteFileForEightBitsTrueColourOtherwise)
{
    for (bool eightBit : {false, true}) {
        DibGuard image(makeImage(W, H, [](int x, int y) { return photo(x % 8, y % 4); }));
        if (eightBit) {
            ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
        }
        const DibSnapshot held = snapshotOf(image.get());
        TempDir dir;
        ASSERT_TRUE(DIBtoPNG(dir.file("a.png"), image.get(), 0));
        const auto chunks = chunksOf(readFileBytes(dir.file("a.png")));
        EXPECT_EQ(chunks[0].data[9], eightBit ? 3 : 2);  // colour type
        EXPECT_EQ(chunks[0].data[12], 0);
        const std::size_t rowBytes = 1 + (eightBit ? 1 : 3) * W;
        const std::vector<std::uint8_t> raw = inflated(idatOf(chunks), H * rowBytes);
        for (int y = 0; y < H && eightBit; ++y)
            EXPECT_EQ(raw[static_cast<std::size_t>(y) * rowBytes], 0);  // palette rows unfiltered
        const PillowImage decoded = decodeWithPillow(dir.file("a.png"));
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.fields.at("mode"), eightBit ? "P" : "RGB");
        EXPECT_EQ(decoded.rgb, held.rgb);
        EXPECT_EQ(DIBtoPNG(dir.file("b.png"), image.get(), 1).error, DibError::BadArgument);
    }
}

}  // namespace

namespace {

// Over a megabyte of scanlines, filtered on two threads in two halves.
TEST(PngLarge, LargeImageDecodesExactly)
{
    DibGuard image(makeImage(700, 600, [](int x, int y) { return (x * 2654435761u ^ y * 97u) & 0xFFFFFFu; }));
    const DibSnapshot held = snapshotOf(image.get());
    TempDir dir;
    ASSERT_TRUE(DIBtoPNG(dir.file("a.png"), image.get(), 0));
    const PillowImage decoded = decodeWithPillow(dir.file("a.png"));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.rgb, held.rgb);
}

// The clipboard's quick PNG decodes to the surface's pixels whatever its size, with
// the surface's alpha byte ignored and a stride wider than the image.
struct QuickCase {
    const char* name;
    int width;
    int height;
};

class QuickPngTest : public testing::TestWithParam<QuickCase>
{};

TEST_P(QuickPngTest, PillowReadsTheSurface)
{
    const auto [name, width, height] = GetParam();
    const std::size_t stride = static_cast<std::size_t>(width) + 3;
    std::vector<std::uint32_t> surface(stride * static_cast<std::size_t>(height));
    std::vector<std::uint32_t> expected;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = static_cast<std::uint32_t>((x * 37) ^ (y * 91) ^ ((x / 7) << 16)) & 0xFFFFFFu;
            surface[stride * static_cast<std::size_t>(y) + static_cast<std::size_t>(x)] =
                (y % 2 ? 0x00000000u : 0xFF000000u) | rgb;
            expected.push_back(rgb);
        }
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(QuickPng(surface.data(), width, height, stride, png));
    TempDir dir;
    writeFileBytes(dir.file("q.png"), png);
    const PillowImage read = decodeWithPillow(dir.file("q.png"));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.width, width);
    EXPECT_EQ(read.rgb, expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, QuickPngTest,
                         testing::Values(QuickCase{"OnePixel", 1, 1}, QuickCase{"OddSize", 33, 17},
                                         QuickCase{"Wide", 300, 100}),
                         [](const testing::TestParamInfo<QuickCase>& info) { return std::string(info.param.name); });

}  // namespace
