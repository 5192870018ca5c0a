#pragma once

#include <cstddef>

// Asks for the whole 2 MiB pages inside a large buffer to be backed by huge pages.
// A screen-sized buffer freshly mapped is otherwise first written in thousands of
// 4 KiB page faults, which on a virtual machine cost more than the work done on the
// pixels. Only a hint: where huge pages are off, or the memory is already in use,
// nothing changes.
void adviseHugePages(void* buffer, std::size_t bytes) noexcept;
