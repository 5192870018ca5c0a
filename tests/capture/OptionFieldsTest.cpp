// The options window's number rules and reset, without the window.
#include "OptionFields.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace {

enum class Field { Grey, Quality, Level, Gamma };

struct OptionFieldCase {
    Field field;
    const char* text;
    std::int32_t previous;
    std::int32_t value;
    const char* shown;
};

FieldCommit commit(const OptionFieldCase& c)
{
    const QString text = QString::fromUtf8(c.text);
    switch (c.field) {
    case Field::Grey: return CommitGrayStrength(text, c.previous);
    case Field::Quality: return CommitJpegQuality(text, static_cast<std::int16_t>(c.previous));
    case Field::Level: return CommitPngCompression(text, static_cast<std::int16_t>(c.previous));
    case Field::Gamma: break;
    }
    return CommitPngGamma(text);
}

class OptionFieldTest : public testing::TestWithParam<OptionFieldCase>
{};

TEST_P(OptionFieldTest, HoldsTheValueInRangeAndShowsIt)
{
    const FieldCommit result = commit(GetParam());
    EXPECT_EQ(result.value, GetParam().value);
    EXPECT_EQ(result.text, QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, OptionFieldTest,
    testing::Values(OptionFieldCase{Field::Grey, "300", 0, 255, "255"}, OptionFieldCase{Field::Grey, "-4", 7, 0, "0"},
                    OptionFieldCase{Field::Grey, "12.9", 0, 12, "12"}, OptionFieldCase{Field::Grey, "-", 7, 7, "-"},
                    OptionFieldCase{Field::Quality, "0", 60, 1, "1"},
                    OptionFieldCase{Field::Quality, "250", 60, 100, "100"},
                    OptionFieldCase{Field::Quality, "2.5", 60, 2, "2"},
                    OptionFieldCase{Field::Quality, "3.5", 60, 4, "4"}, OptionFieldCase{Field::Quality, "", 60, 60, ""},
                    OptionFieldCase{Field::Level, "12", 5, 9, "9"}, OptionFieldCase{Field::Level, "9.9", 5, 9, "9"},
                    OptionFieldCase{Field::Level, "x", 5, 5, "x"}, OptionFieldCase{Field::Gamma, "abc", 45455, 0, "0"},
                    OptionFieldCase{Field::Gamma, "", 45455, 0, "0"},
                    OptionFieldCase{Field::Gamma, "100001", 0, 100000, "100000"},
                    OptionFieldCase{Field::Gamma, "55556", 0, 55556, "55556"}),
    [](const auto& c) { return CaseName(static_cast<int>(c.param.field), c.param.text); });

TEST(ResetOptionsTest, DefaultsWithLevelFiveKeepingProgressiveColorModeAndInterlace)
{
    OutputOptions options;
    options.BitDepth = ColorDepth::Bits8;
    options.BoxColorMethod = 2;
    options.RleCompress = OptionTrue;
    options.GrayStrength = 200;
    options.PngGamma = 1;
    options.PngFilters = {1, 1, 1, 1};
    options.PngDetailed = 1;
    options.JpegProgressive = OptionTrue;
    options.ColorMode = 1;
    options.PngInterlace = 1;
    ResetOptions(options);
    EXPECT_EQ(options.BitDepth, ColorDepth::Bits24);
    EXPECT_EQ(options.BoxColorMethod, 0);
    EXPECT_EQ(options.RleCompress, OptionFalse);
    EXPECT_EQ(options.GrayStrength, 0);
    EXPECT_EQ(options.JpegQuality, 60);
    EXPECT_EQ(options.PngGamma, WindowsGamma);
    EXPECT_EQ(options.PngCompression, 5);
    EXPECT_EQ(options.PngFilters, (std::array<std::int16_t, 4>{}));
    EXPECT_EQ(options.PngDetailed, 0);
    EXPECT_EQ(options.JpegProgressive, OptionTrue);
    EXPECT_EQ(options.ColorMode, 1);
    EXPECT_EQ(options.PngInterlace, 1);
}

}  // namespace
