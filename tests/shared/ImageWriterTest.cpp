// The one image writer of both modes: each format with its settings as Pillow reads
// the file back and as the BMP header says, the plain PNG writer's stand-in for
// keeping a file, and the words for every failure of the image library.
#include "shared/ImageFiles.h"
#include "shared/ImageWriter.h"

#include "CaseName.h"
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace {

std::vector<char> bytesOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A 64 x 48 gradient of more than 256 colours.
DibGuard gradient()
{
    return DibGuard(
        makeImage(64, 48, [](int x, int y) { return static_cast<std::uint32_t>(x * 0x040000 + y * 0x0500 + 0x33); }));
}

ImageWrite bmp(BmpDepth depth, bool rle, int grey = 0)
{
    ImageWrite w;
    w.depth = depth;
    w.rle = rle;
    w.grey = grey;
    return w;
}

ImageWrite reduced(std::uint32_t flags)
{
    ImageWrite w = bmp(BmpDepth::Bits8, false);
    w.reduction = flags;
    return w;
}

ImageWrite jpeg(int progressive)
{
    ImageWrite w;
    w.format = SaveFormat::Jpeg;
    w.quality = 75;
    w.progressive = progressive;
    return w;
}

ImageWrite png(std::optional<PngOptions> record)
{
    ImageWrite w;
    w.format = SaveFormat::Png;
    w.png = record;
    return w;
}

PngOptions pngRecord(std::uint32_t flags, std::uint32_t gamma)
{
    PngOptions record;
    record.flags = flags;
    record.level = 9;
    record.gamma = gamma;
    return record;
}

struct WriteCase {
    const char* name;
    ImageWrite write;
    const char* pillowFormat;
    std::map<std::string, std::string> fields;  // Pillow's fields that must be so
    int bitCount;                               // BMP header's bits per pixel; 0 for others
    bool exact;
    bool grey;
};

class ImageWriterTest : public testing::TestWithParam<WriteCase>
{};

TEST_P(ImageWriterTest, WritesWhatTheRecordSays)
{
    const WriteCase& c = GetParam();
    TempDir dir;
    const DibGuard image = gradient();
    const DibSnapshot source = snapshotOf(image.get());
    const std::string path = dir.file("out");
    ASSERT_TRUE(WriteImageFile(image.get(), c.write, path, ExistingFile::Replace));

    const PillowImage read = decodeWithPillow(path);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.fields.at("format"), c.pillowFormat);
    for (const auto& [key, value] : c.fields)
        EXPECT_EQ(read.fields.count(key) ? read.fields.at(key) : "<none>", value) << key;
    if (c.bitCount != 0) {
        const std::vector<char> bytes = bytesOf(path);
        ASSERT_GT(bytes.size(), 30u);
        EXPECT_EQ(static_cast<unsigned char>(bytes[28]), c.bitCount);
    }
    if (c.exact) {
        EXPECT_EQ(read.rgb, source.rgb);
    }
    const auto isGrey = [](std::uint32_t p) {
        return ((p >> 16) & 0xFF) == (p & 0xFF) && ((p >> 8) & 0xFF) == (p & 0xFF);
    };
    EXPECT_EQ(std::all_of(read.rgb.begin(), read.rgb.end(), isGrey), c.grey);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ImageWriterTest,
    testing::Values(
        WriteCase{"Bmp24", bmp(BmpDepth::Bits24, false), "BMP", {{"info.compression", "0"}}, 24, true, false},
        WriteCase{"Bmp16RleIgnored", bmp(BmpDepth::Bits16, true), "BMP", {{"info.compression", "0"}}, 16, false, false},
        WriteCase{"Bmp8ByBrightness",
                  reduced(SplitByBrightness | MatchYCrCb),
                  "BMP",
                  {{"mode", "P"}, {"info.compression", "0"}},
                  8,
                  false,
                  false},
        WriteCase{
            "Bmp8Rle", bmp(BmpDepth::Bits8, true), "BMP", {{"mode", "P"}, {"info.compression", "1"}}, 8, false, false},
        WriteCase{
            "Bmp8RleThenGrey", bmp(BmpDepth::Bits8, true, 255), "BMP", {{"info.compression", "1"}}, 8, false, true},
        WriteCase{"Bmp24Grey", bmp(BmpDepth::Bits24, false, 255), "BMP", {{"mode", "RGB"}}, 24, false, true},
        WriteCase{"JpegBaseline", jpeg(0), "JPEG", {{"info.progressive", "<none>"}}, 0, false, false},
        WriteCase{"JpegProgressiveAnyNonZero", jpeg(-1), "JPEG", {{"info.progressive", "1"}}, 0, false, false},
        WriteCase{"PngPlainWriter",
                  png(std::nullopt),
                  "PNG",
                  {{"info.gamma", "<none>"}, {"info.interlace", "<none>"}},
                  0,
                  true,
                  false},
        WriteCase{"PngRecordGamma",
                  png(pngRecord(PngOptions::LevelGiven | PngOptions::GammaGiven, 45455)),
                  "PNG",
                  {{"info.gamma", "0.45455"}},
                  0,
                  true,
                  false},
        WriteCase{"PngRecordInterlaced",
                  png(pngRecord(PngOptions::LevelGiven | PngOptions::Interlaced, 0)),
                  "PNG",
                  {{"info.interlace", "1"}},
                  0,
                  true,
                  false}),
    OwnCaseName());

// Only BMP is converted: JPEG and PNG leave the image as it came.
TEST(ImageWriter, ConvertsForBmpOnly)
{
    const DibGuard image = gradient();
    const DibSnapshot before = snapshotOf(image.get());
    ImageWrite write = png(std::nullopt);
    write.depth = BmpDepth::Bits8;
    write.grey = 255;
    ASSERT_TRUE(ConvertForFile(image.get(), write));
    EXPECT_EQ(snapshotOf(image.get()).rgb, before.rgb);
}

// The plain PNG writer cannot keep a file; its stand-in writes the very same bytes.
TEST(ImageWriter, PlainPngKeepingTheFileWritesTheSameBytes)
{
    TempDir dir;
    const DibGuard image = gradient();
    ASSERT_TRUE(WriteImageFile(image.get(), png(std::nullopt), dir.file("replace.png"), ExistingFile::Replace));
    ASSERT_TRUE(WriteImageFile(image.get(), png(std::nullopt), dir.file("keep.png"), ExistingFile::Keep));
    EXPECT_EQ(bytesOf(dir.file("replace.png")), bytesOf(dir.file("keep.png")));
}

class KeepsAnExistingFile : public testing::TestWithParam<ImageWrite>
{};

TEST_P(KeepsAnExistingFile, AndSaysSo)
{
    TempDir dir;
    const std::string path = dir.file("taken");
    std::ofstream(path) << "mine";
    const DibGuard image = gradient();
    EXPECT_EQ(WriteImageFile(image.get(), GetParam(), path, ExistingFile::Keep).error, DibError::FileExists);
    EXPECT_EQ(bytesOf(path), (std::vector<char>{'m', 'i', 'n', 'e'}));
}

INSTANTIATE_TEST_SUITE_P(Formats, KeepsAnExistingFile,
                         testing::Values(bmp(BmpDepth::Bits8, true), jpeg(0), png(std::nullopt),
                                         png(pngRecord(PngOptions::LevelGiven, 0))));

// A failed conversion writes nothing.
TEST(ImageWriter, FailedConversionWritesNothing)
{
    TempDir dir;
    const DibGuard image = gradient();
    const DibStatus status =
        WriteImageFile(image.get(), bmp(BmpDepth::Bits24, false, 256), dir.file("a.bmp"), ExistingFile::Replace);
    EXPECT_EQ(status.error, DibError::BadArgument);
    EXPECT_TRUE(dir.entries().empty());
}

// Every status of the library reaches the user in the program's own words: Japanese,
// one text each, and none of them the library's English.
TEST(DibErrorMessage, EveryErrorHasItsOwnJapaneseText)
{
    std::set<QString> texts;
    for (int e = 0; e <= static_cast<int>(DibError::NotYours); ++e) {
        const auto error = static_cast<DibError>(e);
        const QString text = DibErrorMessage(error);
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; })) << e;
        EXPECT_NE(text, QString::fromLatin1(DibErrorText(error))) << e;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), static_cast<std::size_t>(DibError::NotYours) + 1);
    EXPECT_EQ(SaveFailedText(QStringLiteral("a.png"), DibStatus{DibError::WriteFailed}),
              QStringLiteral("a.png を保存できませんでした（ファイルの書き込みに失敗しました）。"));
}

}  // namespace
