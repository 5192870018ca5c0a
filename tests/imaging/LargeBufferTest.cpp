// A screen-sized pixel buffer freshly mapped: where the system offers huge pages, its
// first writing takes a fault for each 2 MiB, not one for every 4 KiB.
#include "dibimage.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/resource.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace {

long minorFaultsSoFar()
{
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt;
}

// "always" or "madvise" is in brackets when a program may ask for huge pages.
bool hugePagesOnRequest()
{
    std::ifstream file("/sys/kernel/mm/transparent_hugepage/enabled");
    const std::string modes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return modes.find("[always]") != std::string::npos || modes.find("[madvise]") != std::string::npos;
}

// At 1080p, the first grab of a program just started; at 1440p, the size that came to
// hundreds of faults before (the buffer's head and tail in 4 KiB pages).
TEST(LargeBuffer, FirstWriteTakesAFaultPerHugePage)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator and shadow memory take faults of their own";
#endif
    if (!hugePagesOnRequest())
        GTEST_SKIP() << "transparent huge pages are off on this system";
    // Buffers this large are mapped afresh, never made of memory the tests used before.
    ASSERT_EQ(::mallopt(M_MMAP_THRESHOLD, 1 << 20), 1);
    for (const auto& [width, height] : {std::pair{1920, 1080}, std::pair{2560, 1440}}) {
        DeviceContext dc;
        const long before = minorFaultsSoFar();
        dc.resizeForOverwrite(width, height);
        dc.fill(0xFF000000u);
        // The pixels are not read again: the compiler must not drop their writing.
        asm volatile("" : : "r"(dc.pixels()) : "memory");
        const long faults = minorFaultsSoFar() - before;
        const long bytes = static_cast<long>(dc.stride()) * dc.height() * 4;
        const long hugePages = (bytes + (2 << 20) - 1) / (2 << 20);
        EXPECT_LE(faults, hugePages + 8) << width << "x" << height << ": " << faults << " faults for " << hugePages
                                         << " huge pages";
    }
}

}  // namespace
