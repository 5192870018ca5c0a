// The deflate stream made in parts: whatever the data, the number of parts and the
// level, zlib inflates it (checking its Adler-32) to exactly the data, also when bands
// are taken from the memory of the stream before; and a PNG large enough to be
// deflated on several cores decodes to the image's pixels.
#include "ImagingTestSupport.h"
#include "DeflateBlocks.h"
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
    std::vector<std::uint32_t> unitWork = {};
};

// Work estimated for units units: all of it on unit at, none elsewhere.
std::vector<std::uint32_t> workOn(std::size_t units, std::size_t at)
{
    std::vector<std::uint32_t> work(units);
    work[at] = 4000000000u;
    return work;
}

class ZlibParts : public testing::TestWithParam<PartsCase>
{};

TEST_P(ZlibParts, InflatesToTheData)
{
    const PartsCase& c = GetParam();
    Bytes stream;
    ASSERT_EQ(zlibCompressInParts(c.data.data(), c.data.size(), c.level, c.parts, c.unit, stream, c.unitWork),
              DibError::None);
    EXPECT_EQ(inflateAll(stream, c.data.size()), c.data);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZlibParts,
                         testing::Values(PartsCase{"ScanlinesInTwo", scanlines(3 << 20), 6, 2, 5761},
                                         PartsCase{"ScanlinesInFive", scanlines(3 << 20), 6, 5, 1},
                                         // Parts balanced by work rather than bytes: some
                                         // empty, some the whole data, the last unit short.
                                         PartsCase{"WorkOnTheFirstRow", scanlines(3 << 20), 6, 3, 5761, workOn(547, 0)},
                                         PartsCase{"WorkOnTheLastRow", scanlines(3 << 20), 6, 3, 5761, workOn(547, 546)},
                                         PartsCase{"WorkOfTheWrongLength", scanlines(1 << 20), 6, 2, 5761, workOn(9, 3)},
                                         PartsCase{"NoiseStored", noise(1 << 20), 0, 3, 1},
                                         PartsCase{"NoiseSmallest", noise(1 << 19), 9, 2, 1},
                                         PartsCase{"ZerosFastest", std::vector<std::uint8_t>(1 << 21), 1, 4, 1},
                                         PartsCase{"FewerBytesThanParts", {1, 2, 3}, 6, 5, 1},
                                         PartsCase{"Empty", {}, 6, 3, 1}),
                         [](const testing::TestParamInfo<PartsCase>& info) { return std::string(info.param.name); });

struct MemoryCase {
    const char* name;
    std::size_t changedAt;  // the byte of the second buffer that differs from the first, or none
    std::size_t firstSize;
    std::size_t secondSize;
    int secondLevel;
};

constexpr std::size_t MemoryBand = 256000;  // whole units of 1000 bytes
constexpr std::size_t MemoryData = 5 * MemoryBand + 1000;
constexpr std::size_t Unchanged = ~std::size_t{0};

class ZlibMemory : public testing::TestWithParam<MemoryCase>
{};

// A stream made after another with the memory of it is the stream made without: the
// same bytes, whatever changed between the two (a band's bytes, the level, where the
// data end), and a remembered band is never taken for one that changed.
TEST_P(ZlibMemory, GivesTheSameStreamAsWithout)
{
    const MemoryCase& c = GetParam();
    const std::vector<std::uint8_t> first = scanlines(c.firstSize);
    std::vector<std::uint8_t> second = scanlines(c.secondSize);
    if (c.changedAt != Unchanged)
        second[c.changedAt] ^= 0x5A;
    DeflateMemory memory;
    Bytes ignored;
    ASSERT_EQ(zlibCompressInBands(first.data(), first.size(), 6, 1000, MemoryBand, ignored, memory), DibError::None);
    Bytes remembered;
    Bytes fresh;
    ASSERT_EQ(zlibCompressInBands(second.data(), second.size(), c.secondLevel, 1000, MemoryBand, remembered, memory),
              DibError::None);
    DeflateMemory none;
    ASSERT_EQ(zlibCompressInBands(second.data(), second.size(), c.secondLevel, 1000, MemoryBand, fresh, none),
              DibError::None);
    EXPECT_EQ(remembered, fresh);
    EXPECT_EQ(inflateAll(remembered, second.size()), second);
}

INSTANTIATE_TEST_SUITE_P(Changes, ZlibMemory,
                         testing::Values(MemoryCase{"NothingChanged", Unchanged, MemoryData, MemoryData, 6},
                                         MemoryCase{"FirstByte", 0, MemoryData, MemoryData, 6},
                                         MemoryCase{"LastByte", MemoryData - 1, MemoryData, MemoryData, 6},
                                         MemoryCase{"AnotherLevel", Unchanged, MemoryData, MemoryData, 1},
                                         // The same bytes in a band that was not the last
                                         // and is, or was and is not.
                                         MemoryCase{"ShorterLastBand", Unchanged, MemoryData, MemoryData - 10, 6},
                                         MemoryCase{"EndsABandSooner", Unchanged, MemoryData, 4 * MemoryBand, 6},
                                         MemoryCase{"GoesOnPastItsLastBand", Unchanged, 4 * MemoryBand, MemoryData, 6},
                                         MemoryCase{"Emptied", Unchanged, MemoryData, 0, 6}),
                         [](const testing::TestParamInfo<MemoryCase>& info) { return std::string(info.param.name); });

// zlib's raw deflate stream of data (no header or checksum).
Bytes rawDeflate(const std::vector<std::uint8_t>& data, int level, int strategy)
{
    z_stream stream{};
    Bytes out;
    if (deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, strategy) != Z_OK)
        return out;
    out.resize(deflateBound(&stream, static_cast<uLong>(data.size())));
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(result == Z_STREAM_END ? stream.total_out : 0);
    deflateEnd(&stream);
    return out;
}

// zlib's own reading of where the last block starts: inflating, stopping at each block.
std::size_t zlibFinalHeaderBit(const Bytes& raw)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return 0;
    std::vector<std::uint8_t> sink(std::size_t{1} << 16);
    stream.next_in = const_cast<Bytef*>(raw.data());
    stream.avail_in = static_cast<uInt>(raw.size());
    std::size_t header = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = sink.data();
        stream.avail_out = static_cast<uInt>(sink.size());
        result = inflate(&stream, Z_BLOCK);
        if (result == Z_OK && (stream.data_type & 128) && !(stream.data_type & 64))
            header = 8 * stream.total_in - static_cast<std::size_t>(stream.data_type & 63);
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END ? header : 0;
}

struct WalkCase {
    const char* name;
    std::vector<std::uint8_t> data;
    int level;
    int strategy;
};

class DeflateWalk : public testing::TestWithParam<WalkCase>
{};

// The last block where zlib finds it, for stored, fixed and dynamic blocks and codes
// longer than one table look-up; a stream cut short or of another length is refused.
TEST_P(DeflateWalk, FindsTheLastBlockLikeZlib)
{
    const WalkCase& c = GetParam();
    const Bytes raw = rawDeflate(c.data, c.level, c.strategy);
    ASSERT_FALSE(raw.empty());
    FinalBlock found;
    ASSERT_TRUE(findFinalBlock(raw, c.data.size(), found));
    EXPECT_EQ(found.headerBit, zlibFinalHeaderBit(raw));
    EXPECT_EQ((found.endBit + 7) / 8, raw.size());
    FinalBlock ignored;
    EXPECT_FALSE(findFinalBlock(std::span(raw).first(raw.size() - 1), c.data.size(), ignored));
    EXPECT_FALSE(findFinalBlock(raw, c.data.size() + 1, ignored));
}

INSTANTIATE_TEST_SUITE_P(Blocks, DeflateWalk,
                         testing::Values(WalkCase{"Dynamic", scanlines(3 << 20), 6, Z_DEFAULT_STRATEGY},
                                         WalkCase{"LongCodes", scanlines(1 << 20), 6, Z_HUFFMAN_ONLY},
                                         WalkCase{"Fixed", scanlines(1 << 20), 6, Z_FIXED},
                                         WalkCase{"FewBytes", {1, 2, 3}, 6, Z_DEFAULT_STRATEGY},
                                         WalkCase{"Stored", noise(200000), 0, Z_DEFAULT_STRATEGY},
                                         WalkCase{"Noise", noise(1 << 18), 9, Z_DEFAULT_STRATEGY},
                                         WalkCase{"Zeros", std::vector<std::uint8_t>(1 << 21), 9, Z_RLE}),
                         [](const testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

struct LargePngCase {
    const char* name;
    bool eightBit;
    bool interlaced;
    bool afterAnother;  // written with the memory of another image, alike but for its top rows
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
    PngMemory memory;
    if (c.afterAnother) {
        DibGuard other(
            makeImage(1800, 1250, [&held](int x, int y) { return y < 40 ? 0xFF00FFu : held.rgb[y * 1800 + x]; }));
        ASSERT_TRUE(DIBtoPNGex(dir.file("other.png"), other.get(), options, ExistingFile::Replace, &memory));
    }
    ASSERT_TRUE(DIBtoPNGex(dir.file("a.png"), image.get(), options, ExistingFile::Replace, &memory));
    const PillowImage decoded = decodeWithPillow(dir.file("a.png"));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.rgb, held.rgb);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ParallelPng,
                         testing::Values(LargePngCase{"TrueColour", false, false, false},
                                         LargePngCase{"TrueColourInterlaced", false, true, false},
                                         LargePngCase{"Palette", true, false, false},
                                         LargePngCase{"TrueColourAfterAnother", false, false, true}),
                         [](const testing::TestParamInfo<LargePngCase>& info) { return std::string(info.param.name); });

}  // namespace
