// Files made to hurt the readers: sizes their bytes cannot hold, colour indices past
// the palette, an empty RLE body. Each is refused (or read) without allocating what
// its header claims.
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
    for (const auto& [value, bytes] : std::initializer_list<std::pair<std::uint32_t, int>>{
             {40, 4}, {static_cast<std::uint32_t>(width), 4}, {static_cast<std::uint32_t>(height), 4}, {1, 2}, {8, 2},
             {compression, 4}, {static_cast<std::uint32_t>(body.size()), 4}, {0, 4}, {0, 4}, {colours, 4}, {0, 4}})
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
{
};

TEST_P(HostileFile, IsReadWithoutAllocatingWhatItClaims)
{
    EXPECT_EQ(readUnderSmallAddressSpace(GetParam().bytes(), GetParam().sparseSize), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileFile,
    testing::Values(
        HostileCase{"TinyPngClaimingAGigabyte", [] { return pngClaiming(18000, 18000); }, DibError::DecodeFailed},
        HostileCase{"TinyRle8ClaimingTheLargestSize", [] { return bmpFile(32768, 32768, Rle8, 2, {0, 1}); },
                    DibError::TooLarge},
        HostileCase{"IndexPastThePalette", [] { return bmpFile(4, 1, Plain, 2, {0, 1, 5, 0}); }, DibError::DecodeFailed},
        HostileCase{"RunPastThePalette", [] { return bmpFile(4, 1, Rle8, 2, {4, 7, 0, 1}); }, DibError::DecodeFailed},
        HostileCase{"AbsoluteRunPastThePalette", [] { return bmpFile(4, 1, Rle8, 2, {0, 3, 1, 0, 9, 0, 0, 1}); },
                    DibError::DecodeFailed},
        HostileCase{"EmptyRle8Body", [] { return bmpFile(4, 2, Rle8, 2, {}); }, DibError::None},
        HostileCase{"TextChunkClaimingTwoGigabytes", pngWithHugeTextChunk, DibError::DecodeFailed},
        HostileCase{"WholeOneBitPngBeyondTheLimit", [] { return blackOneBitPng(18000); }, DibError::TooLarge},
        HostileCase{"WholeOneBitPngWithinTheLimit", [] { return blackOneBitPng(8000); }, DibError::None},
        HostileCase{"SparseFileOfOneAndAHalfGigabytes", [] { return std::vector<std::uint8_t>{'B', 'M'}; },
                    DibError::DecodeFailed, off_t{1536} << 20},
        HostileCase{"BmpHeaderOverASparseFile", [] { return bmpFile(4096, 4096, Plain, 256, {}); }, DibError::None,
                    off_t{1536} << 20}),
    [](const testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

}  // namespace
