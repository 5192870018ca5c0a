#include "platform/FileFilter.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const char* name;
    const char* pairs;
    QStringList expected;
    friend void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.name; }
};

class ToQtNameFilters : public ::testing::TestWithParam<FilterCase>
{};

TEST_P(ToQtNameFilters, OneEntryPerPair)
{
    EXPECT_EQ(FileFilter::toQtNameFilters(QString::fromUtf8(GetParam().pairs)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    FileFilter, ToQtNameFilters,
    ::testing::Values(
        FilterCase{"OwnPatternsKept",
                   "BMPファイル(*.bmp)|*.bmp|JPEGファイル(*.jpg)|*.jpg",
                   {QStringLiteral("BMPファイル(*.bmp)"), QStringLiteral("JPEGファイル(*.jpg)")}},
        FilterCase{"PatternsAdded", "BMPファイル|*.bmp", {QStringLiteral("BMPファイル (*.bmp)")}},
        FilterCase{"SemicolonsBecomeSpaces", "JPEG|*.jpg;*.jpeg", {QStringLiteral("JPEG (*.jpg *.jpeg)")}},
        FilterCase{"OwnListWithSemicolons", "JPEG(*.jpg *.jpeg)|*.jpg;*.jpeg", {QStringLiteral("JPEG(*.jpg *.jpeg)")}},
        FilterCase{"DifferentOwnTextGetsPatterns", "PNG(圧縮)|*.png", {QStringLiteral("PNG(圧縮) (*.png)")}},
        FilterCase{"TrailingDescriptionDropped", "A|*.a|B", {QStringLiteral("A (*.a)")}}, FilterCase{"Empty", "", {}},
        FilterCase{"AllFiles", "すべて(*.*)|*.*", {QStringLiteral("すべて(*.*)")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
