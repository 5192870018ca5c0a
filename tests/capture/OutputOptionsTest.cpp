#include "OutputOptions.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

struct ReductionCase {
    std::int16_t split;
    std::int16_t color;
    std::int16_t match;
    std::uint32_t flags;
};

class ReductionFlagsTest : public testing::TestWithParam<ReductionCase>
{};

TEST_P(ReductionFlagsTest, OrsTheThreeMethodTables)
{
    OutputOptions options;
    options.BoxSplitMethod = GetParam().split;
    options.BoxColorMethod = GetParam().color;
    options.PaletteMatchMethod = GetParam().match;
    EXPECT_EQ(ReductionFlags(options), GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(Methods, ReductionFlagsTest,
                         testing::Values(ReductionCase{0, 0, 0, 0}, ReductionCase{1, 1, 2, 131329},  // 1 + 256 + 131072
                                         ReductionCase{0, 2, 0, 128},  // index 2 is 128, not 256
                                         ReductionCase{0, 1, 0, 256}, ReductionCase{0, 0, 1, 4096},
                                         ReductionCase{1, 0, 0, 1}, ReductionCase{-1, 3, 7, 0}),
                         [](const auto& c) {
                             return CaseName(c.param.split, c.param.color, c.param.match);
                         });  // indices outside the tables add nothing

struct FilterCase {
    std::array<std::int16_t, 4> boxes;
    std::uint32_t set;
};

class PngFilterSetTest : public testing::TestWithParam<FilterCase>
{};

TEST_P(PngFilterSetTest, OrsTheCheckedBoxesOrFallsBackToNone)
{
    OutputOptions options;
    options.PngFilters = GetParam().boxes;
    EXPECT_EQ(PngFilterSet(options), GetParam().set);
    EXPECT_EQ(PngOptionRecord(options).filters, GetParam().set);
}

INSTANTIATE_TEST_SUITE_P(Boxes, PngFilterSetTest,
                         testing::Values(FilterCase{{0, 0, 0, 0}, 8}, FilterCase{{0, 1, 0, 1}, 80},
                                         FilterCase{{1, 1, 1, 1}, 120}, FilterCase{{1, 0, 0, 0}, 8},
                                         FilterCase{{0, 0, 1, 0}, 32}),
                         [](const auto& c) {
                             const auto& b = c.param.boxes;
                             return CaseName(b[0], b[1], b[2], b[3]);
                         });

TEST(PngOptionRecordTest, DetailedWriterGetsFlagsSevenLevelAndGamma)
{
    OutputOptions options;
    options.PngCompression = 3;
    options.PngGamma = 100000;
    const PngOptions record = PngOptionRecord(options);
    EXPECT_EQ(record.flags, 7u);
    EXPECT_EQ(record.level, 3u);
    EXPECT_EQ(record.gamma, 100000u);
    EXPECT_EQ(record.unused, 0u);
}

TEST(PngOptionRecordTest, InterlaceAddsItsFlag)
{
    OutputOptions options;
    options.PngInterlace = 1;
    EXPECT_EQ(PngOptionRecord(options).flags, 0x87u);
}

TEST(JpegProgressiveArgumentTest, TrueReachesTheLibraryAsMinusOne)
{
    OutputOptions options;
    EXPECT_EQ(JpegProgressiveArgument(options), 0);
    options.JpegProgressive = OptionTrue;
    EXPECT_EQ(JpegProgressiveArgument(options), -1);
}

OutputOptions everythingChanged()
{
    OutputOptions options;
    options.BitDepth = ColorDepth::Bits8;
    options.RleCompress = OptionTrue;
    options.BoxSplitMethod = 1;
    options.BoxColorMethod = 2;
    options.PaletteMatchMethod = 1;
    options.JpegQuality = 95;
    options.JpegProgressive = OptionTrue;
    options.PngDetailed = 1;
    options.PngCompression = 2;
    options.PngGamma = 100000;
    options.PngFilters = {1, 1, 0, 1};
    options.PngInterlace = 1;
    options.ColorMode = 1;
    options.GrayStrength = 200;
    return options;
}

TEST(InitOutputOptionsTest, ResetsTheModeStartValuesAndKeepsTheThreeThatSurvive)
{
    OutputOptions options = everythingChanged();
    InitOutputOptions(options);
    EXPECT_EQ(options.BitDepth, ColorDepth::Bits24);
    EXPECT_EQ(options.RleCompress, OptionFalse);
    EXPECT_EQ(options.BoxSplitMethod, 0);
    EXPECT_EQ(options.BoxColorMethod, 0);
    EXPECT_EQ(options.PaletteMatchMethod, 0);
    EXPECT_EQ(options.JpegQuality, 60);
    EXPECT_EQ(options.PngDetailed, 0);
    EXPECT_EQ(options.PngCompression, 7);
    EXPECT_EQ(options.PngGamma, 45455);
    EXPECT_EQ(options.PngFilters, (std::array<std::int16_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(options.PngInterlace, 0);
    EXPECT_EQ(options.JpegProgressive, OptionTrue);
    EXPECT_EQ(options.ColorMode, 1);
    EXPECT_EQ(options.GrayStrength, 200);
}

TEST(InitOutputOptionsTest, ProgramStartHasTheThreeSurvivorsAtZero)
{
    const OutputOptions options;
    EXPECT_EQ(options.JpegProgressive, 0);
    EXPECT_EQ(options.ColorMode, 0);
    EXPECT_EQ(options.GrayStrength, 0);
}

}  // namespace
