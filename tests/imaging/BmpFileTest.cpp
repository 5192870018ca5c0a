// BMP files checked byte for byte: both headers, the palette and the RLE8 escapes.
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (std::uint32_t{b[at + 1]} << 8);
}

struct HeaderCase {
    const char* name;
    int width;
    int depth;               // 24, 16, 8; 108 = 8 bits run-length encoded
    std::uint32_t rowBytes;  // padded row size the format demands at this width
};

class BmpHeader : public testing::TestWithParam<HeaderCase>
{};

TEST_P(BmpHeader, FieldsAsWindowsReadsThem)
{
    const HeaderCase c = GetParam();
    const int height = 3;
    DibGuard image(
        makeImage(c.width, height, [](int x, int y) { return static_cast<std::uint32_t>(x * 40 + y * 3) << 8; }));
    const std::int32_t zero = 0;
    if (c.depth == 16) {
        ASSERT_TRUE(DIBto16Bit(image.get(), zero));
    }
    if (c.depth == 8 || c.depth == 108) {
        ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    }
    if (c.depth == 108) {
        ASSERT_TRUE(DIBtoRLE(image.get()));
    }
    const DibSnapshot held = snapshotOf(image.get());
    TempDir dir;
    ASSERT_TRUE(DIBtoBMP(dir.file("a.bmp"), image.get()));
    const std::vector<std::uint8_t> f = readFileBytes(dir.file("a.bmp"));
    ASSERT_GE(f.size(), 54u);
    const std::uint32_t colours =
        c.depth >= 24 && c.depth != 108 ? 0 : (c.depth == 16 ? 0 : static_cast<std::uint32_t>(held.palette.size()));
    const std::uint32_t offset = 14 + 40 + 4 * colours;
    const std::uint32_t body = c.depth == 108 ? static_cast<std::uint32_t>(held.bits.size()) : c.rowBytes * height;
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(le32(f, 2), f.size());
    EXPECT_EQ(le32(f, 2), offset + body);
    EXPECT_EQ(le32(f, 6), 0u);
    EXPECT_EQ(le32(f, 10), offset);
    EXPECT_EQ(le32(f, 14), 40u);
    EXPECT_EQ(le32(f, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(le32(f, 22), static_cast<std::uint32_t>(height));  // positive: bottom-up
    EXPECT_EQ(le16(f, 26), 1u);
    EXPECT_EQ(le16(f, 28), static_cast<std::uint32_t>(c.depth == 108 ? 8 : c.depth));
    EXPECT_EQ(le32(f, 30), c.depth == 108 ? 1u : 0u);
    EXPECT_EQ(le32(f, 34), body);
    EXPECT_EQ(le32(f, 38), 3780u);
    EXPECT_EQ(le32(f, 42), 3780u);
    EXPECT_EQ(le32(f, 46), colours);
    EXPECT_EQ(le32(f, 50), 0u);
    for (std::uint32_t i = 0; i < colours; ++i)
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_EQ(f[54 + 4 * i + k], held.palette[i][k]);
    // The bottom row comes first: its first pixel is the picture's bottom-left one.
    if (c.depth == 24) {
        const std::uint32_t bottomLeft =
            held.rgb[static_cast<std::size_t>(height - 1) * static_cast<std::size_t>(c.width)];
        EXPECT_EQ(f[offset + 1], (bottomLeft >> 8) & 0xFF);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpHeader,
                         testing::Values(HeaderCase{"Bits24W5", 5, 24, 16}, HeaderCase{"Bits24W4", 4, 24, 12},
                                         HeaderCase{"Bits16W3", 3, 16, 8}, HeaderCase{"Bits16W2", 2, 16, 4},
                                         HeaderCase{"Bits8W5", 5, 8, 8}, HeaderCase{"Bits8W1", 1, 8, 4},
                                         HeaderCase{"Rle8W9", 9, 108, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RleCase {
    const char* name;
    std::vector<int> row;              // colour numbers of one row, left to right
    std::vector<std::uint8_t> stream;  // expected codes, colour numbers standing for indices
};

class RleStream : public testing::TestWithParam<RleCase>
{};

// Each case is one row; its expected codes are written with colour numbers, which
// the test turns into the palette indices the reduction assigned.
TEST_P(RleStream, EscapesAndRuns)
{
    const RleCase c = GetParam();
    const int width = static_cast<int>(c.row.size());
    auto colourOf = [](int n) { return static_cast<std::uint32_t>(n) * 0x0F0F0Fu; };
    DibGuard image(makeImage(width, 1, [&](int x, int) { return colourOf(c.row[static_cast<std::size_t>(x)]); }));
    ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    const DibSnapshot plain = snapshotOf(image.get());
    ASSERT_TRUE(DIBtoRLE(image.get()));
    const DibSnapshot rle = snapshotOf(image.get());
    EXPECT_EQ(rle.compression, 1u);
    std::map<int, std::uint8_t> indexOf;
    for (int x = 0; x < width; ++x)
        indexOf[c.row[static_cast<std::size_t>(x)]] = plain.bits[static_cast<std::size_t>(x)];
    std::vector<std::uint8_t> expected = c.stream;
    // Bytes after a count are colour numbers: marked by 0x80 | n in the table.
    for (auto& b : expected)
        if (b & 0x80)
            b = indexOf[b & 0x7F];
    EXPECT_EQ(rle.bits, expected);
    EXPECT_EQ(rle.rgb, plain.rgb);
}

constexpr std::uint8_t C(int n) { return static_cast<std::uint8_t>(0x80 | n); }

INSTANTIATE_TEST_SUITE_P(
    Rows, RleStream,
    testing::Values(RleCase{"OneRun", {1, 1, 1, 1}, {4, C(1), 0, 1}},
                    RleCase{"RunThenAbsoluteOddPadded", {1, 1, 1, 2, 3, 4}, {3, C(1), 0, 3, C(2), C(3), C(4), 0, 0, 1}},
                    RleCase{"AbsoluteEven", {1, 2, 3, 4}, {0, 4, C(1), C(2), C(3), C(4), 0, 1}},
                    RleCase{"TwoSinglesAsRuns", {1, 2}, {1, C(1), 1, C(2), 0, 1}},
                    RleCase{"PairStartsRun", {5, 5, 6}, {2, C(5), 1, C(6), 0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RleStream, LongRunsSplitAt255AndRowsEndWithEndOfLine)
{
    DibGuard image(makeImage(300, 2, [](int, int y) { return y == 0 ? 0x102030u : 0x405060u; }));
    ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
    const DibSnapshot plain = snapshotOf(image.get());
    ASSERT_TRUE(DIBtoRLE(image.get()));
    const DibSnapshot rle = snapshotOf(image.get());
    const std::uint8_t bottom = plain.bits[0];
    const std::uint8_t top = plain.bits[plain.bits.size() / 2];
    const std::vector<std::uint8_t> expected = {255, bottom, 45, bottom, 0, 0, 255, top, 45, top, 0, 1};
    EXPECT_EQ(rle.bits, expected);
}

}  // namespace
