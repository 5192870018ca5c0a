// Each format as the watch writes it, read back by Pillow: the BMP conversions in
// their order (depth, RLE at 8 bits only, grey scale), JPEG quality and progressive,
// PNG level and interlacing; and the number fields' rule.
#include "AutoSaveFields.h"
#include "CaptureFormat.h"

#include "CaseName.h"
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct FormatCase {
    const char* name;
    CaptureFormat format;
    const char* pillowFormat;
    std::map<std::string, std::string> fields;  // Pillow's fields that must be so
    bool exact;                                 // pixels equal to the source
    bool grey;                                  // every pixel grey
};

CaptureFormat bmp(BmpDepth depth, bool rle, bool grey)
{
    CaptureFormat f;
    f.depth = depth;
    f.rle = rle;
    f.grey = grey;
    return f;
}

// JPEG with quality and progressive, or PNG with level and interlacing.
CaptureFormat coded(SaveFormat format, int setting, bool flag)
{
    CaptureFormat f;
    f.format = format;
    f.quality = f.level = setting;
    f.progressive = f.interlaced = flag;
    return f;
}

CaptureFormat jpeg(int quality, bool progressive) { return coded(SaveFormat::Jpeg, quality, progressive); }

CaptureFormat png(int level, bool interlaced) { return coded(SaveFormat::Png, level, interlaced); }

class CaptureFormatTest : public testing::TestWithParam<FormatCase>
{};

TEST_P(CaptureFormatTest, WritesWhatTheSettingsSay)
{
    const FormatCase& c = GetParam();
    TempDir dir;
    const DibGuard image(
        makeImage(64, 48, [](int x, int y) { return static_cast<std::uint32_t>(x * 0x040000 + y * 0x0500 + 0x33); }));
    const DibSnapshot source = snapshotOf(image.get());
    ASSERT_TRUE(ConvertForBmp(image.get(), c.format));
    const QString name = QString::fromStdString(dir.file("shot")) + ExtensionOf(c.format.format);
    ASSERT_TRUE(WriteCapture(image.get(), c.format, name, ExistingFile::Keep));

    const PillowImage read = decodeWithPillow(name.toStdString());
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.fields.at("format"), c.pillowFormat);
    for (const auto& [key, value] : c.fields)
        EXPECT_EQ(read.fields.count(key) ? read.fields.at(key) : "<none>", value) << key;
    if (c.exact) {
        EXPECT_EQ(read.rgb, source.rgb);
    } else {
        EXPECT_GT(psnr(source.rgb, read.rgb), c.grey ? 10.0 : 30.0);
    }
    const auto isGrey = [](std::uint32_t p) {
        return ((p >> 16) & 0xFF) == (p & 0xFF) && ((p >> 8) & 0xFF) == (p & 0xFF);
    };
    if (c.grey) {
        EXPECT_TRUE(std::all_of(read.rgb.begin(), read.rgb.end(), isGrey));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, CaptureFormatTest,
    testing::Values(
        FormatCase{"Bmp24", bmp(BmpDepth::Bits24, false, false), "BMP", {{"mode", "RGB"}}, true, false},
        FormatCase{
            "Bmp24RleIgnored", bmp(BmpDepth::Bits24, true, false), "BMP", {{"info.compression", "0"}}, true, false},
        FormatCase{"Bmp16", bmp(BmpDepth::Bits16, false, false), "BMP", {{"mode", "RGB"}}, false, false},
        FormatCase{"Bmp8",
                   bmp(BmpDepth::Bits8, false, false),
                   "BMP",
                   {{"mode", "P"}, {"info.compression", "0"}},
                   false,
                   false},
        FormatCase{"Bmp8RleGrey",
                   bmp(BmpDepth::Bits8, true, true),
                   "BMP",
                   {{"mode", "P"}, {"info.compression", "1"}},
                   false,
                   true},
        FormatCase{"Bmp24Grey", bmp(BmpDepth::Bits24, false, true), "BMP", {{"mode", "RGB"}}, false, true},
        FormatCase{"JpegQuality60", jpeg(60, false), "JPEG", {{"info.progressive", "<none>"}}, false, false},
        FormatCase{"JpegProgressive", jpeg(90, true), "JPEG", {{"info.progressive", "1"}}, false, false},
        FormatCase{"PngInterlaced", png(6, true), "PNG", {{"info.interlace", "1"}}, true, false},
        FormatCase{"PngLevel0", png(0, false), "PNG", {{"info.interlace", "<none>"}}, true, false}),
    OwnCaseName());

TEST(CaptureFormat, PngRecordGivesTheLevelAndInterlacingOnly)
{
    const PngOptions record = PngRecordOf(png(6, true));
    EXPECT_EQ(record.flags, 0x81u);
    EXPECT_EQ(record.level, 6);
    EXPECT_EQ(record.filters, 0u);
    EXPECT_EQ(record.gamma, 0u);
    EXPECT_EQ(PngRecordOf(png(9, false)).flags, 0x01u);
}

struct HoldCase {
    const char* name;
    const char* text;
    std::int64_t lower, upper;
    std::int64_t value;
    const char* replacement;  // nullptr: the text stays as typed
};

class HoldFieldTest : public testing::TestWithParam<HoldCase>
{};

TEST_P(HoldFieldTest, HoldsTheWholePartInsideTheBounds)
{
    const HoldCase& c = GetParam();
    const HeldField held = HoldField(QString::fromUtf8(c.text), c.lower, c.upper, 42);
    EXPECT_EQ(held.value, c.value);
    EXPECT_EQ(held.replacement.value_or(QStringLiteral("<as typed>")),
              c.replacement ? QString::fromUtf8(c.replacement) : QStringLiteral("<as typed>"));
}

INSTANTIATE_TEST_SUITE_P(Fields, HoldFieldTest,
                         testing::Values(HoldCase{"QualityAbove", "120", 1, 100, 100, "100"},
                                         HoldCase{"QualityZero", "0", 1, 100, 1, "1"},
                                         HoldCase{"IntervalAbove", "40000", 1, 30000, 30000, "30000"},
                                         HoldCase{"SerialAboveMaximum", "150", 0, 99, 99, "99"},
                                         HoldCase{"GroupedInRange", "1,000", 1, 30000, 1000, nullptr},
                                         HoldCase{"FractionPassesUnchanged", "5.5", 0, 99, 5, nullptr},
                                         HoldCase{"NegativeFraction", "-0.5", 0, 9, 0, "0"},
                                         HoldCase{"NoNumberKeepsThePrevious", "abc", 1, 100, 42, nullptr},
                                         HoldCase{"EmptyKeepsThePrevious", "", 1, 100, 42, nullptr}),
                         OwnCaseName());

}  // namespace
