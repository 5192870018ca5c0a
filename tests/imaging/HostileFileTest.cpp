// Files made to hurt the readers: sizes their bytes cannot hold, colour indices past
// the palette, an empty RLE body. Each is refused (or read) without allocating what
// its header claims.
#include "BmpVariants.h"
#include "ImagingTestSupport.h"

#include <gtest/gtest.h>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t Plain = 0;  // BI_RGB
constexpr std::uint32_t Rle8 = 1;   // BI_RLE8

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A BMP with a 40-byte info header, `colours` palette entries and the given body.
std::vector<std::uint8_t> bmpFile(int width, int height, std::uint32_t compression, std::uint32_t colours,
                                  const std::vector<std::uint8_t>& body)
{
    const std::uint32_t offset = 54 + 4 * colours;
    std::vector<std::uint8_t> f{'B', 'M'};
    put(f, offset + static_cast<std::uint32_t>(body.size()), 4);
    put(f, 0, 4);
    put(f, offset, 4);
    for (const auto& [value, bytes] :
         std::initializer_list<std::pair<std::uint32_t, int>>{{40, 4},
                                                              {static_cast<std::uint32_t>(width), 4},
                                                              {static_cast<std::uint32_t>(height), 4},
                                                              {1, 2},
                                                              {8, 2},
                                                              {compression, 4},
                                                              {static_cast<std::uint32_t>(body.size()), 4},
                                                              {0, 4},
                                                              {0, 4},
                                                              {colours, 4},
                                                              {0, 4}})
        put(f, value, bytes);
    for (std::uint32_t i = 0; i < colours; ++i)
        put(f, i * 0x010101u, 4);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

// A grey PNG whose header declares width x height over a few bytes of image data.
std::vector<std::uint8_t> pngClaiming(std::uint32_t width, std::uint32_t height)
{
    return zeroPng(width, height, 8, 4096);
}

// A small BMP of the variant whose header then claims width x height.
std::vector<std::uint8_t> bmpClaiming(int bits, std::uint32_t compression, std::uint32_t infoSize, std::uint32_t width,
                                      std::uint32_t height)
{
    BmpVariant v;
    v.bits = bits;
    v.compression = compression;
    v.infoSize = infoSize;
    v.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const BmpPicture picture{4,
                             2,
                             [](int x, int y) { return static_cast<std::uint32_t>(x * 40 + y); },
                             [](int x, int) { return static_cast<unsigned>(x); },
                             {0, 0xFFFFFF, 0xFF0000, 0xFF}};
    std::vector<std::uint8_t> f =
        bmpOf(v, picture, compression == 5 ? pngClaiming(18000, 18000) : std::vector<std::uint8_t>{});
    const int fieldBytes = infoSize == 12 ? 2 : 4;
    for (int i = 0; i < fieldBytes; ++i) {
        f[18 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(width >> (8 * i));
        f[18 + static_cast<std::size_t>(fieldBytes + i)] = static_cast<std::uint8_t>(height >> (8 * i));
    }
    return f;
}

// A small JPEG whose frame header then claims width x height.
std::vector<std::uint8_t> jpegClaiming(std::uint16_t width, std::uint16_t height)
{
    TempDir dir;
    const DibGuard image(makeImage(16, 16, [](int x, int y) { return static_cast<std::uint32_t>(x * 9 + y); }));
    if (!DIBtoJPG(dir.file("small.jpg"), image.get(), 90, 0))
        return {};
    std::vector<std::uint8_t> f = readFileBytes(dir.file("small.jpg"));
    for (std::size_t at = 2; at + 9 < f.size(); ++at)
        if (f[at] == 0xFF && f[at + 1] == 0xC0) {
            f[at + 5] = static_cast<std::uint8_t>(height >> 8);
            f[at + 6] = static_cast<std::uint8_t>(height);
            f[at + 7] = static_cast<std::uint8_t>(width >> 8);
            f[at + 8] = static_cast<std::uint8_t>(width);
            break;
        }
    return f;
}

// The reader's result for the bytes, read in a child process whose address space is
// too small for what the header claims: a reader that allocated it first would fail
// with OutOfMemory. (AddressSanitizer needs a vast address space, so there the read
// runs unlimited.)
DibError readUnderSmallAddressSpace(const std::vector<std::uint8_t>& bytes, off_t sparseSize)
{
    TempDir dir;
    const std::string path = dir.file("hostile");
    writeFileBytes(path, bytes);
    if (sparseSize > 0 && ::truncate(path.c_str(), sparseSize) != 0)
        return DibError::WriteFailed;
#if defined(__SANITIZE_ADDRESS__)
    DIBHandle handle = 0;
    const DibStatus status = DIBFromFile(path, handle);
    DeleteDIB(handle);
    return status.error;
#else
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{512u << 20, 512u << 20};
        ::setrlimit(RLIMIT_AS, &limit);
        DIBHandle handle = 0;
        ::_exit(static_cast<int>(DIBFromFile(path, handle).error));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? static_cast<DibError>(WEXITSTATUS(status)) : DibError::OutOfMemory;
#endif
}

struct HostileCase {
    const char* name;
    std::function<std::vector<std::uint8_t>()> bytes;  // made when the case runs
    DibError expected;
    off_t sparseSize = 0;  // the file is made this long with a hole after the bytes
    friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
};

class HostileFile : public testing::TestWithParam<HostileCase>
{};

TEST_P(HostileFile, IsReadWithoutAllocatingWhatItClaims)
{
    EXPECT_EQ(readUnderSmallAddressSpace(GetParam().bytes(), GetParam().sparseSize), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileFile,
    testing::Values(
        HostileCase{"TinyPngClaimingAGigabyte", [] { return pngClaiming(18000, 18000); }, DibError::DecodeFailed},
        HostileCase{"TinyRle8ClaimingTheLargestSize",
                    [] {
                        return bmpFile(32768, 32768, Rle8, 2, {0, 1});
                    },
                    DibError::TooLarge},
        HostileCase{"IndexPastThePalette",
                    [] {
                        return bmpFile(4, 1, Plain, 2, {0, 1, 5, 0});
                    },
                    DibError::DecodeFailed},
        HostileCase{"RunPastThePalette",
                    [] {
                        return bmpFile(4, 1, Rle8, 2, {4, 7, 0, 1});
                    },
                    DibError::DecodeFailed},
        HostileCase{"AbsoluteRunPastThePalette",
                    [] {
                        return bmpFile(4, 1, Rle8, 2, {0, 3, 1, 0, 9, 0, 0, 1});
                    },
                    DibError::DecodeFailed},
        HostileCase{"EmptyRle8Body", [] { return bmpFile(4, 2, Rle8, 2, {}); }, DibError::None},
        HostileCase{"TextChunkClaimingTwoGigabytes", pngWithHugeTextChunk, DibError::DecodeFailed},
        HostileCase{"WholeOneBitPngBeyondTheLimit", [] { return blackOneBitPng(18000); }, DibError::TooLarge},
        HostileCase{"WholeOneBitPngWithinTheLimit", [] { return blackOneBitPng(8000); }, DibError::None},
        HostileCase{"SparseFileOfOneAndAHalfGigabytes",
                    [] {
                        return std::vector<std::uint8_t>{'B', 'M'};
                    },
                    DibError::DecodeFailed, off_t{1536} << 20},
        HostileCase{"BmpHeaderOverASparseFile", [] { return bmpFile(4096, 4096, Plain, 256, {}); }, DibError::None,
                    off_t{1536} << 20},
        HostileCase{"Bits32ClaimingPastTheLimit", [] { return bmpClaiming(32, 0, 40, 20000, 20000); },
                    DibError::TooLarge},
        HostileCase{"Os2CoreClaimingPastTheLimit", [] { return bmpClaiming(24, 0, 12, 65535, 65535); },
                    DibError::TooLarge},
        HostileCase{"Rle4ClaimingPastTheLimit", [] { return bmpClaiming(4, 2, 124, 30000, 30000); },
                    DibError::TooLarge},
        HostileCase{"AlphaBitFieldsOverFewBytes", [] { return bmpClaiming(32, 3, 124, 8000, 8000); },
                    DibError::DecodeFailed},
        HostileCase{"EmbeddedPngClaimingAGigabyte", [] { return bmpClaiming(0, 5, 40, 4, 2); }, DibError::DecodeFailed},
        HostileCase{"JpegClaimingPastTheLimit", [] { return jpegClaiming(65000, 65000); }, DibError::TooLarge},
        HostileCase{"JpegClaimingMoreThanItsBytesHold", [] { return jpegClaiming(9000, 9000); },
                    DibError::DecodeFailed}),
    [](const testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

}  // namespace
