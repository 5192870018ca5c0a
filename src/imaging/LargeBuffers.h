#pragma once

#include <cstddef>

// Large buffers are asked to be backed by huge pages, those below a 4K screen's
// picture placed on 2 MiB boundaries to be so whole. A screen-sized buffer freshly mapped is
// otherwise first written in thousands of 4 KiB page faults, which on a virtual
// machine cost more than the work done on the pixels (a new process's first 1080p
// grab: over 2000 faults). Only a hint: where huge pages are off, the buffer is used
// as any other.
[[nodiscard]] void* allocateLargeBuffer(std::size_t bytes);
// bytes: as given to allocateLargeBuffer.
void freeLargeBuffer(void* buffer, std::size_t bytes) noexcept;
