#include "LargeBuffers.h"

#include <sys/mman.h>

#include <new>

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
// A smaller buffer would spend more on its alignment than its faults cost.
constexpr std::size_t LeastAlignedBytes = 2 * HugePage;

bool aligned(std::size_t bytes) { return bytes >= LeastAlignedBytes; }

// The last huge page is whole too: the buffer's tail would otherwise fault page by
// page, as much as the rest put together for a 1080p screen.
std::size_t wholeHugePages(std::size_t bytes) { return (bytes + HugePage - 1) & ~(HugePage - 1); }

}  // namespace

void* allocateLargeBuffer(std::size_t bytes)
{
    if (!aligned(bytes))
        return ::operator new(bytes);
    const std::size_t reserved = wholeHugePages(bytes);
    void* buffer = ::operator new(reserved, std::align_val_t{HugePage});
    ::madvise(buffer, reserved, MADV_HUGEPAGE);
    return buffer;
}

void freeLargeBuffer(void* buffer, std::size_t bytes) noexcept
{
    if (aligned(bytes))
        ::operator delete(buffer, wholeHugePages(bytes), std::align_val_t{HugePage});
    else
        ::operator delete(buffer, bytes);
}
