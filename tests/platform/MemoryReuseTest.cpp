// A screen-sized buffer freed and taken again is served from memory the process kept,
// without a page fault per page, and goes back to the system once returned. Counted
// through the kernel's minor faults of this process.
#include "platform/MemoryReuse.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstddef>
#include <memory>

namespace {

// A 4K screen's 24-bit picture.
constexpr std::size_t ScreenBytes = std::size_t{3840} * 3 * 2160;
constexpr long PageBytes = 4096;

long minorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// The faults taken while a buffer of ScreenBytes is made and every page written.
long faultsOfFilledBuffer()
{
    const long before = minorFaults();
    {
        const std::unique_ptr<volatile char[]> buffer(new volatile char[ScreenBytes]);
        for (std::size_t at = 0; at < ScreenBytes; at += PageBytes)
            buffer[at] = 1;
    }
    return minorFaults() - before;
}

TEST(MemoryReuse, FreedScreenBufferIsKeptUntilReturned)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitiser's allocator keeps memory by its own rules";
#endif
    keepFreedMemoryForReuse();
    static_cast<void>(faultsOfFilledBuffer());
    constexpr long Pages = static_cast<long>(ScreenBytes) / PageBytes;
    EXPECT_LT(faultsOfFilledBuffer(), Pages / 100);
    returnFreedMemory();
    EXPECT_GT(faultsOfFilledBuffer(), Pages / 2);
}

}  // namespace
