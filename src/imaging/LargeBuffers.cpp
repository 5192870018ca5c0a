#include "LargeBuffers.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
// A smaller buffer would spend more on its alignment than its faults cost.
constexpr std::size_t LeastAlignedBytes = 2 * HugePage;
// A larger one is left where the allocator puts it: padded for the alignment, a 4K
// screen's picture would outgrow what the heap serves and be mapped (and zeroed)
// afresh for every call, instead of reusing the heap's memory.
constexpr std::size_t MostAlignedBytes = 28 * (std::size_t{1} << 20);

bool aligned(std::size_t bytes) { return bytes >= LeastAlignedBytes && bytes <= MostAlignedBytes; }

// The last huge page is whole too: the buffer's tail would otherwise fault page by
// page, as much as the rest put together for a 1080p screen.
std::size_t wholeHugePages(std::size_t bytes) { return (bytes + HugePage - 1) & ~(HugePage - 1); }

// Only the whole huge pages inside a buffer that does not start on a boundary.
void adviseInside(void* buffer, std::size_t bytes) noexcept
{
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = (start + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(HugePage - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

}  // namespace

void* allocateLargeBuffer(std::size_t bytes)
{
    if (!aligned(bytes)) {
        void* buffer = ::operator new(bytes);
        if (bytes > MostAlignedBytes)
            adviseInside(buffer, bytes);
        return buffer;
    }
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
