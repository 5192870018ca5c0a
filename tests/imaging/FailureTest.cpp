// Failure paths: bad handles, folders that cannot take the file, a full disk. Nothing
// crashes, nothing truncated is left, an existing file survives.
#include "FileSizeLimit.h"
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

namespace {

enum class Writer { Bmp, Rle8Bmp, Png, PngEx, Jpeg };

DibStatus write(Writer w, const std::string& path, DIBHandle image)
{
    switch (w) {
    case Writer::Bmp:
    case Writer::Rle8Bmp: return DIBtoBMP(path, image);
    case Writer::Png: return DIBtoPNG(path, image, 0);
    case Writer::PngEx: {
        PngOptions o;
        o.flags = 0x87;
        o.level = 9;
        o.filters = 120;
        o.gamma = 45455;
        return DIBtoPNGex(path, image, o);
    }
    case Writer::Jpeg: return DIBtoJPG(path, image, 90, 1);
    }
    return {DibError::BadArgument};
}

DIBHandle noiseImage(Writer w)
{
    const DIBHandle image =
        makeImage(320, 240, [](int x, int y) { return (x * 2654435761u ^ y * 40503u) & 0xFFFFFFu; });
    if (w == Writer::Rle8Bmp) {
        EXPECT_TRUE(DIBto8Bit(image, 0, 0));
        EXPECT_TRUE(DIBtoRLE(image));
    }
    return image;
}

const char* names[] = {"Bmp", "Rle8Bmp", "Png", "PngEx", "Jpeg"};

class WriterFailure : public testing::TestWithParam<Writer>
{};

TEST_P(WriterFailure, ZeroAndDeletedHandles)
{
    TempDir dir;
    EXPECT_EQ(write(GetParam(), dir.file("a"), 0).error, DibError::BadHandle);
    const DIBHandle gone = noiseImage(GetParam());
    ASSERT_TRUE(DeleteDIB(gone));
    EXPECT_EQ(write(GetParam(), dir.file("a"), gone).error, DibError::BadHandle);
    EXPECT_TRUE(dir.entries().empty());
}

TEST_P(WriterFailure, FolderThatDoesNotExist)
{
    TempDir dir;
    DibGuard image(noiseImage(GetParam()));
    EXPECT_EQ(write(GetParam(), dir.file("missing/a"), image.get()).error, DibError::CannotCreate);
    EXPECT_TRUE(dir.entries().empty());
}

TEST_P(WriterFailure, ParentIsARegularFile)
{
    TempDir dir;
    writeFileBytes(dir.file("plain"), {1, 2, 3});
    DibGuard image(noiseImage(GetParam()));
    EXPECT_EQ(write(GetParam(), dir.file("plain/a"), image.get()).error, DibError::CannotCreate);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"plain"});
}

TEST_P(WriterFailure, TargetIsAFolder)
{
    TempDir dir;
    DibGuard image(noiseImage(GetParam()));
    EXPECT_FALSE(write(GetParam(), dir.path() + "/", image.get()));
    EXPECT_FALSE(write(GetParam(), dir.path(), image.get()));
    EXPECT_TRUE(dir.entries().empty());
}

// A file-size limit in a child process stands for a full disk.
TEST_P(WriterFailure, FullDiskKeepsTheOldFileAndLeavesNoTemporary)
{
    TempDir dir;
    const std::vector<std::uint8_t> old(100, 0x5A);
    writeFileBytes(dir.file("a"), old);
    DibGuard image(noiseImage(GetParam()));
    const int written = runUnderFileSizeLimit(4096, [&] {
        const DibStatus status = write(GetParam(), dir.file("a"), image.get());
        return status.error == DibError::WriteFailed ? 0 : 10 + static_cast<int>(status.error);
    });
    EXPECT_EQ(written, 0);
    EXPECT_EQ(readFileBytes(dir.file("a")), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a"});
}

TEST_P(WriterFailure, ReplacesAnExistingFileWhole)
{
    TempDir dir;
    writeFileBytes(dir.file("a"), std::vector<std::uint8_t>(10'000'000, 1));
    DibGuard image(noiseImage(GetParam()));
    ASSERT_TRUE(write(GetParam(), dir.file("a"), image.get()));
    EXPECT_TRUE(decodeWithPillow(dir.file("a")).ok);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a"});
}

INSTANTIATE_TEST_SUITE_P(Writers, WriterFailure,
                         testing::Values(Writer::Bmp, Writer::Rle8Bmp, Writer::Png, Writer::PngEx, Writer::Jpeg),
                         [](const auto& info) { return std::string(names[static_cast<int>(info.param)]); });

TEST(ConverterFailure, ZeroHandleEverywhere)
{
    const std::int32_t zero = 0;
    EXPECT_EQ(DIBto8Bit(0, 0, 0).error, DibError::BadHandle);
    EXPECT_EQ(DIBto16Bit(0, zero).error, DibError::BadHandle);
    EXPECT_EQ(DIBto24Bit(0).error, DibError::BadHandle);
    EXPECT_EQ(GrayDIB(0, 255).error, DibError::BadHandle);
    EXPECT_EQ(DIBtoRLE(0).error, DibError::BadHandle);
    DibSnapshot s;
    EXPECT_EQ(DIBSnapshot(0, s).error, DibError::BadHandle);
    EXPECT_STRNE(DibErrorText(DibError::BadHandle), DibErrorText(DibError::WriteFailed));
}

TEST(ReaderFailure, MissingTruncatedAndForeignFiles)
{
    TempDir dir;
    DIBHandle h = 123;
    EXPECT_EQ(DIBFromFile(dir.file("none.png"), h).error, DibError::DecodeFailed);
    EXPECT_EQ(h, 0u);
    writeFileBytes(dir.file("text.png"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(DIBFromFile(dir.file("text.png"), h));
    DibGuard image(makeImage(30, 20, [](int x, int y) { return static_cast<std::uint32_t>(x * y); }));
    for (const char* name : {"a.bmp", "a.png"}) {
        const std::string path = dir.file(name);
        ASSERT_TRUE(std::string(name) == "a.bmp" ? DIBtoBMP(path, image.get()) : DIBtoPNG(path, image.get(), 0));
        std::vector<std::uint8_t> bytes = readFileBytes(path);
        bytes.resize(bytes.size() / 2);
        writeFileBytes(path, bytes);
        EXPECT_FALSE(DIBFromFile(path, h)) << name;
        EXPECT_EQ(h, 0u);
    }
}

TEST(ReaderRoundTrip, BmpAtEveryDepthAndPngComeBackAsWritten)
{
    TempDir dir;
    for (int depth : {24, 16, 8, 108}) {
        DibGuard image(makeImage(13, 5, [](int x, int y) {
            return static_cast<std::uint32_t>(x * 19) << 16 | static_cast<std::uint32_t>(y * 50);
        }));
        if (depth == 16) {
            ASSERT_TRUE(DIBto16Bit(image.get(), 0));
        }
        if (depth <= 108 && depth != 24 && depth != 16) {
            ASSERT_TRUE(DIBto8Bit(image.get(), 0, 0));
        }
        if (depth == 108) {
            ASSERT_TRUE(DIBtoRLE(image.get()));
        }
        const DibSnapshot held = snapshotOf(image.get());
        for (const char* name : {"r.bmp", "r.png"}) {
            const std::string path = dir.file(name);
            ASSERT_TRUE(std::string(name) == "r.bmp" ? DIBtoBMP(path, image.get()) : DIBtoPNG(path, image.get(), 0));
            DIBHandle h = 0;
            ASSERT_TRUE(DIBFromFile(path, h)) << name << depth;
            DibGuard back(h);
            const DibSnapshot read = snapshotOf(back.get());
            EXPECT_EQ(read.rgb, held.rgb) << name << depth;
            if (std::string(name) == "r.bmp") {
                EXPECT_EQ(read.bits, held.bits) << depth;
            }
        }
    }
}

}  // namespace

namespace {

// The shared screenshots carry gAMA 0.45455, cHRM and bKGD: the pixels must come
// through unchanged, as Pillow reads them.
TEST(ReaderRoundTrip, ScreenshotReadsLikePillow)
{
    const PillowImage shot = benchScreenshot("desk1080a.png");
    if (!shot.ok)
        GTEST_SKIP() << "benchmark screenshots not found";
    DIBHandle h = 0;
    ASSERT_TRUE(DIBFromFile(benchScreenshotPath("desk1080a.png"), h));
    DibGuard image(h);
    EXPECT_EQ(snapshotOf(image.get()).rgb, shot.rgb);
}

}  // namespace
