#pragma once

#include <cstddef>

// Large buffers are asked to be backed by huge pages. A screen-sized buffer freshly
// mapped is otherwise first written in thousands of 4 KiB page faults, which on a
// virtual machine cost more than the work done on the pixels (a new process's first
// 1080p grab: over 2000 faults). Only hints: where huge pages are off, the buffers are
// used as any other.

// Asks for the whole 2 MiB pages inside the buffer.
void adviseHugePages(void* buffer, std::size_t bytes) noexcept;

// A screen's surface, below a 4K screen's size placed on 2 MiB boundaries to be backed
// by huge pages whole.
[[nodiscard]] void* allocateSurface(std::size_t bytes);
// bytes: as given to allocateSurface.
void freeSurface(void* buffer, std::size_t bytes) noexcept;
