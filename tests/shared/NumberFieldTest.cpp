#include "shared/NumberField.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace {

constexpr auto Int64Max = std::numeric_limits<std::int64_t>::max();
constexpr auto Int64Min = std::numeric_limits<std::int64_t>::min();

struct ParseCase {
    const char* text;
    std::optional<double> expected;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << '"' << QByteArray(c.text).left(24).constData() << '"'; }

class ParseEnglish : public ::testing::TestWithParam<ParseCase>
{};

TEST_P(ParseEnglish, ReadsLikeTheLocale)
{
    const auto value = NumberField::parse(QString::fromUtf8(GetParam().text), QLocale(QLocale::English));
    EXPECT_EQ(value, GetParam().expected);
}

const QByteArray FourHundredDigits(400, '9');
const QByteArray MinusFourHundredDigits = '-' + FourHundredDigits;

INSTANTIATE_TEST_SUITE_P(
    NumberField, ParseEnglish,
    ::testing::Values(ParseCase{"12.9", 12.9}, ParseCase{"-3.5", -3.5}, ParseCase{"1,024", 1024.0},
                      ParseCase{" 5 ", 5.0}, ParseCase{"", std::nullopt}, ParseCase{"   ", std::nullopt},
                      ParseCase{"abc", std::nullopt}, ParseCase{"12abc", std::nullopt}, ParseCase{"1e3", std::nullopt},
                      ParseCase{"1E3", std::nullopt}, ParseCase{"inf", std::nullopt}, ParseCase{"-inf", std::nullopt},
                      ParseCase{"nan", std::nullopt}, ParseCase{"NaN", std::nullopt}, ParseCase{"0x10", std::nullopt},
                      ParseCase{"12.9.1", std::nullopt}, ParseCase{"+5", 5.0}, ParseCase{"0", 0.0},
                      ParseCase{"１２３", 123.0}, ParseCase{"－４", -4.0}, ParseCase{"１，０２４．５", 1024.5},
                      ParseCase{"\u3000７\u3000", 7.0}, ParseCase{"1,5", 15.0}, ParseCase{"1,00,0.5", 1000.5},
                      ParseCase{"٣٠٠", 300.0}, ParseCase{"-१२.५", -12.5}, ParseCase{"99999999999999999999", 1e20},
                      ParseCase{FourHundredDigits.constData(), DBL_MAX},
                      ParseCase{MinusFourHundredDigits.constData(), -DBL_MAX}),
    PrintedCaseName());

TEST(NumberField, GermanLocaleSwapsSeparators)
{
    const QLocale german(QLocale::German);
    EXPECT_EQ(NumberField::parse(QStringLiteral("12,9"), german), 12.9);
    EXPECT_EQ(NumberField::parse(QStringLiteral("1.024"), german), 1024.0);
}

TEST(NumberField, CLocaleAcceptsGroupSeparators)
{
    EXPECT_EQ(NumberField::parse(QStringLiteral("1,024"), QLocale::c()), 1024.0);
}

struct RoundCase {
    double value;
    std::int64_t floor;
    std::int64_t halfEven;
    friend void PrintTo(const RoundCase& c, std::ostream* out) { *out << c.value; }
};

class Rounding : public ::testing::TestWithParam<RoundCase>
{};

TEST_P(Rounding, FloorAndHalfToEven)
{
    EXPECT_EQ(NumberField::floorToInt(GetParam().value), GetParam().floor);
    EXPECT_EQ(NumberField::roundHalfEven(GetParam().value), GetParam().halfEven);
}

INSTANTIATE_TEST_SUITE_P(NumberField, Rounding,
                         ::testing::Values(RoundCase{12.9, 12, 13}, RoundCase{-3.5, -4, -4}, RoundCase{10.5, 10, 10},
                                           RoundCase{11.5, 11, 12}, RoundCase{0.5, 0, 0}, RoundCase{-2.5, -3, -2},
                                           RoundCase{2.4999, 2, 2}, RoundCase{75.9, 75, 76},
                                           RoundCase{1e20, Int64Max, Int64Max}, RoundCase{-1e20, Int64Min, Int64Min},
                                           RoundCase{DBL_MAX, Int64Max, Int64Max},
                                           RoundCase{-DBL_MAX, Int64Min, Int64Min}),
                         PrintedCaseName());

struct ClampCase {
    std::int64_t value;
    std::int64_t lower;
    std::int64_t upper;
    std::int64_t expected;
    friend void PrintTo(const ClampCase& c, std::ostream* out)
    {
        *out << c.value << " in " << c.lower << ".." << c.upper;
    }
};

class Clamp : public ::testing::TestWithParam<ClampCase>
{};

TEST_P(Clamp, HoldsInsideBoundsInEitherOrder)
{
    const ClampCase& c = GetParam();
    EXPECT_EQ(NumberField::clamp(c.value, c.lower, c.upper), c.expected);
}

INSTANTIATE_TEST_SUITE_P(NumberField, Clamp,
                         ::testing::Values(ClampCase{-5, 0, 1920, 0}, ClampCase{5000, 0, 1920, 1920},
                                           ClampCase{300, 0, 1920, 300}, ClampCase{Int64Max, 50, 200, 200},
                                           ClampCase{20, 10, 0, 10}, ClampCase{-1, 10, 0, 0}, ClampCase{5, 10, 0, 5}),
                         PrintedCaseName());

struct FormatCase {
    std::int64_t value;
    const char* plain;
    const char* grouped;
    friend void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.value; }
};

class Format : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(Format, PlainAndGrouped)
{
    EXPECT_EQ(NumberField::formatPlain(GetParam().value), QString::fromUtf8(GetParam().plain));
    EXPECT_EQ(NumberField::formatGrouped(GetParam().value, QLocale(QLocale::English)),
              QString::fromUtf8(GetParam().grouped));
    // The C locale leaves group separators out unless asked; a spin button asks.
    EXPECT_EQ(NumberField::formatGrouped(GetParam().value, QLocale::c()), QString::fromUtf8(GetParam().grouped));
}

INSTANTIATE_TEST_SUITE_P(NumberField, Format,
                         ::testing::Values(FormatCase{0, "0", "0"}, FormatCase{999, "999", "999"},
                                           FormatCase{1000, "1000", "1,000"}, FormatCase{30000, "30000", "30,000"},
                                           FormatCase{-1024, "-1024", "-1,024"},
                                           FormatCase{1234567, "1234567", "1,234,567"}),
                         PrintedCaseName());

TEST(NumberField, GroupedTextReadsBack)
{
    for (const std::int64_t value : {999, 1000, 1920, 30000, 1234567}) {
        const QString text = NumberField::formatGrouped(value);
        EXPECT_EQ(NumberField::parse(text), static_cast<double>(value)) << text.toStdString();
    }
}

}  // namespace
