#include "LargeBuffers.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

constexpr std::uintptr_t HugePage = std::uintptr_t{2} << 20;
// A smaller buffer holds at most one whole huge page: not worth a system call.
constexpr std::size_t LeastAdvisedBytes = 2 * HugePage;

}  // namespace

void adviseHugePages(void* buffer, std::size_t bytes) noexcept
{
    if (bytes < LeastAdvisedBytes)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = (start + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(HugePage - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}
