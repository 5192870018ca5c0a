#include "LargeBuffers.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
// A smaller buffer holds at most one whole huge page: not worth a system call, nor
// an alignment.
constexpr std::size_t LeastAdvisedBytes = 2 * HugePage;
// A larger surface, a 4K screen's or more, stays in the heap, advised inside only: in a
// mapping of its own, tens of megabytes would be zeroed afresh at every allocation,
// where the heap's memory is reused.
constexpr std::size_t MostAlignedBytes = 28 * (std::size_t{1} << 20);

bool aligned(std::size_t bytes) { return bytes >= LeastAdvisedBytes && bytes <= MostAlignedBytes; }

std::uintptr_t upToHugePage(std::uintptr_t at) { return (at + HugePage - 1) & ~(HugePage - 1); }

// The last huge page is whole too: the surface's tail would otherwise fault page by
// page, as much as the rest put together for a 1080p screen.
std::size_t wholeHugePages(std::size_t bytes) { return upToHugePage(bytes); }

}  // namespace

void adviseHugePages(void* buffer, std::size_t bytes) noexcept
{
    if (bytes < LeastAdvisedBytes)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = upToHugePage(start);
    const std::uintptr_t end = (start + bytes) & ~(HugePage - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

void* allocateSurface(std::size_t bytes)
{
    if (!aligned(bytes)) {
        void* buffer = ::operator new(bytes);
        adviseHugePages(buffer, bytes);
        return buffer;
    }
    // Mapped apart from the heap, whose alignment padding would leave holes of up to
    // 2 MiB that other allocations then fill and keep.
    const std::size_t reserved = wholeHugePages(bytes);
    void* mapped = ::mmap(nullptr, reserved + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t first = upToHugePage(start);
    if (first > start)
        ::munmap(mapped, first - start);
    // The mapping starts on a page, less than a huge page before first: some of its
    // extra huge page always lies beyond the surface.
    ::munmap(reinterpret_cast<void*>(first + reserved), start + HugePage - first);
    void* buffer = reinterpret_cast<void*>(first);
    ::madvise(buffer, reserved, MADV_HUGEPAGE);
    return buffer;
}

void freeSurface(void* buffer, std::size_t bytes) noexcept
{
    if (aligned(bytes))
        ::munmap(buffer, wholeHugePages(bytes));
    else
        ::operator delete(buffer, bytes);
}
